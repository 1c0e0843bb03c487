# AlphaTools: command-line tools (no runtime view declared)
BUILT_OBJECT_TYPE = LOAD MODULE
