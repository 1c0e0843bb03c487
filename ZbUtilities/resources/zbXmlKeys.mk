# XML keys file of libQORZbServices: the XML form of every report key in the
# XML trace file.  Read as a macro set ("NAME = words").
#
# Tag identifiers are never element names (T_ prefix): a name equal to an
# identifier is refused as a duplicate.
#
# Tags: KEY_TagID_<ID>_Name (element), _Type (Simple or Complex),
# _ListOfParameter (attributes).  Keys: KEY_MsgID_<KEY>_ListOfTagID,
# _ListOfTagMode (0 or 2 write/close, 1 opens a complex tag) and
# _ListOfTagMapping (for each attribute, the index from 0 of the report's
# parameter that gives its value).

KEY_TagID = T_Make T_Step T_Error T_ErrorExtended T_ErrorWithId T_ErrorExtendedWithId \
            T_Warning T_WarningExtended T_WarningWithId T_WarningExtendedWithId \
            T_Info T_Fatal T_SystemError T_Cleanup T_TestError T_TestWarning T_TestInfo

KEY_TagID_T_Make_Name = Make
KEY_TagID_T_Make_Type = Complex
KEY_TagID_T_Make_ListOfParameter = Name
KEY_TagID_T_Step_Name = Step
KEY_TagID_T_Step_Type = Complex
KEY_TagID_T_Step_ListOfParameter = Name

KEY_TagID_T_Error_Name = Error
KEY_TagID_T_Error_Type = Simple
KEY_TagID_T_Error_ListOfParameter = Message
KEY_TagID_T_ErrorExtended_Name = Error
KEY_TagID_T_ErrorExtended_Type = Simple
KEY_TagID_T_ErrorExtended_ListOfParameter = Message Detail
KEY_TagID_T_ErrorWithId_Name = Error
KEY_TagID_T_ErrorWithId_Type = Simple
KEY_TagID_T_ErrorWithId_ListOfParameter = Id Message
KEY_TagID_T_ErrorExtendedWithId_Name = Error
KEY_TagID_T_ErrorExtendedWithId_Type = Simple
KEY_TagID_T_ErrorExtendedWithId_ListOfParameter = Id Message Detail

KEY_TagID_T_Warning_Name = Warning
KEY_TagID_T_Warning_Type = Simple
KEY_TagID_T_Warning_ListOfParameter = Message
KEY_TagID_T_WarningExtended_Name = Warning
KEY_TagID_T_WarningExtended_Type = Simple
KEY_TagID_T_WarningExtended_ListOfParameter = Message Detail
KEY_TagID_T_WarningWithId_Name = Warning
KEY_TagID_T_WarningWithId_Type = Simple
KEY_TagID_T_WarningWithId_ListOfParameter = Id Message
KEY_TagID_T_WarningExtendedWithId_Name = Warning
KEY_TagID_T_WarningExtendedWithId_Type = Simple
KEY_TagID_T_WarningExtendedWithId_ListOfParameter = Id Message Detail

KEY_TagID_T_Info_Name = Info
KEY_TagID_T_Info_Type = Simple
KEY_TagID_T_Info_ListOfParameter = Message
KEY_TagID_T_Fatal_Name = Fatal
KEY_TagID_T_Fatal_Type = Simple
KEY_TagID_T_Fatal_ListOfParameter = Message
KEY_TagID_T_SystemError_Name = SystemError
KEY_TagID_T_SystemError_Type = Simple
KEY_TagID_T_SystemError_ListOfParameter = Object Message
KEY_TagID_T_Cleanup_Name = Cleanup
KEY_TagID_T_Cleanup_Type = Simple
KEY_TagID_T_Cleanup_ListOfParameter = Message
KEY_TagID_T_TestError_Name = TestError
KEY_TagID_T_TestError_Type = Simple
KEY_TagID_T_TestError_ListOfParameter = Message
KEY_TagID_T_TestWarning_Name = TestWarning
KEY_TagID_T_TestWarning_Type = Simple
KEY_TagID_T_TestWarning_ListOfParameter = Message
KEY_TagID_T_TestInfo_Name = TestInfo
KEY_TagID_T_TestInfo_Type = Simple
KEY_TagID_T_TestInfo_ListOfParameter = Message

KEY_MsgID = makeBegin makeEnd makeError makeWarning stepStart stepEnd \
            zbzbError zbzbErrorExtended zbzbWarning zbzbWarningExtended zbzbInfo zbzbFatal \
            systError cleanup PLXV5Error PLXV5Warning atpError atpWarning atpInfo \
            zbzbErrorWithId zbzbErrorExtendedWithId zbzbWarningWithId zbzbWarningExtendedWithId

KEY_MsgID_makeBegin_ListOfTagID = T_Make
KEY_MsgID_makeBegin_ListOfTagMode = 1
KEY_MsgID_makeBegin_ListOfTagMapping = 0
KEY_MsgID_makeEnd_ListOfTagID = T_Make
KEY_MsgID_makeEnd_ListOfTagMode = 2
KEY_MsgID_makeError_ListOfTagID = T_Error
KEY_MsgID_makeError_ListOfTagMode = 0
KEY_MsgID_makeError_ListOfTagMapping = 0
KEY_MsgID_makeWarning_ListOfTagID = T_Warning
KEY_MsgID_makeWarning_ListOfTagMode = 0
KEY_MsgID_makeWarning_ListOfTagMapping = 0
KEY_MsgID_stepStart_ListOfTagID = T_Step
KEY_MsgID_stepStart_ListOfTagMode = 1
KEY_MsgID_stepStart_ListOfTagMapping = 0
KEY_MsgID_stepEnd_ListOfTagID = T_Step
KEY_MsgID_stepEnd_ListOfTagMode = 2

KEY_MsgID_zbzbError_ListOfTagID = T_Error
KEY_MsgID_zbzbError_ListOfTagMode = 0
KEY_MsgID_zbzbError_ListOfTagMapping = 0
KEY_MsgID_zbzbErrorExtended_ListOfTagID = T_ErrorExtended
KEY_MsgID_zbzbErrorExtended_ListOfTagMode = 0
KEY_MsgID_zbzbErrorExtended_ListOfTagMapping = 0 1
KEY_MsgID_zbzbWarning_ListOfTagID = T_Warning
KEY_MsgID_zbzbWarning_ListOfTagMode = 0
KEY_MsgID_zbzbWarning_ListOfTagMapping = 0
KEY_MsgID_zbzbWarningExtended_ListOfTagID = T_WarningExtended
KEY_MsgID_zbzbWarningExtended_ListOfTagMode = 0
KEY_MsgID_zbzbWarningExtended_ListOfTagMapping = 0 1
KEY_MsgID_zbzbInfo_ListOfTagID = T_Info
KEY_MsgID_zbzbInfo_ListOfTagMode = 0
KEY_MsgID_zbzbInfo_ListOfTagMapping = 0
KEY_MsgID_zbzbFatal_ListOfTagID = T_Fatal
KEY_MsgID_zbzbFatal_ListOfTagMode = 0
KEY_MsgID_zbzbFatal_ListOfTagMapping = 0
KEY_MsgID_systError_ListOfTagID = T_SystemError
KEY_MsgID_systError_ListOfTagMode = 0
KEY_MsgID_systError_ListOfTagMapping = 0 1
KEY_MsgID_cleanup_ListOfTagID = T_Cleanup
KEY_MsgID_cleanup_ListOfTagMode = 0
KEY_MsgID_cleanup_ListOfTagMapping = 0
KEY_MsgID_PLXV5Error_ListOfTagID = T_Error
KEY_MsgID_PLXV5Error_ListOfTagMode = 0
KEY_MsgID_PLXV5Error_ListOfTagMapping = 0
KEY_MsgID_PLXV5Warning_ListOfTagID = T_Warning
KEY_MsgID_PLXV5Warning_ListOfTagMode = 0
KEY_MsgID_PLXV5Warning_ListOfTagMapping = 0
KEY_MsgID_atpError_ListOfTagID = T_TestError
KEY_MsgID_atpError_ListOfTagMode = 0
KEY_MsgID_atpError_ListOfTagMapping = 0
KEY_MsgID_atpWarning_ListOfTagID = T_TestWarning
KEY_MsgID_atpWarning_ListOfTagMode = 0
KEY_MsgID_atpWarning_ListOfTagMapping = 0
KEY_MsgID_atpInfo_ListOfTagID = T_TestInfo
KEY_MsgID_atpInfo_ListOfTagMode = 0
KEY_MsgID_atpInfo_ListOfTagMapping = 0

KEY_MsgID_zbzbErrorWithId_ListOfTagID = T_ErrorWithId
KEY_MsgID_zbzbErrorWithId_ListOfTagMode = 0
KEY_MsgID_zbzbErrorWithId_ListOfTagMapping = 0 1
KEY_MsgID_zbzbErrorExtendedWithId_ListOfTagID = T_ErrorExtendedWithId
KEY_MsgID_zbzbErrorExtendedWithId_ListOfTagMode = 0
KEY_MsgID_zbzbErrorExtendedWithId_ListOfTagMapping = 0 1 2
KEY_MsgID_zbzbWarningWithId_ListOfTagID = T_WarningWithId
KEY_MsgID_zbzbWarningWithId_ListOfTagMode = 0
KEY_MsgID_zbzbWarningWithId_ListOfTagMapping = 0 1
KEY_MsgID_zbzbWarningExtendedWithId_ListOfTagID = T_WarningExtendedWithId
KEY_MsgID_zbzbWarningExtendedWithId_ListOfTagMode = 0
KEY_MsgID_zbzbWarningExtendedWithId_ListOfTagMapping = 0 1 2
