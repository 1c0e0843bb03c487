# BetaMain: the program of FwBeta
BUILT_OBJECT_TYPE = LOAD MODULE
