# AlphaCore: the core library of FwAlpha
BUILT_OBJECT_TYPE = SHARED LIBRARY
