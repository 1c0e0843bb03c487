// A description file with conditions on the levels of levels.lvl.
NAME = demo
#if R21 && SP2_OR_MORE
SOURCES = new.cpp fast.cpp
#elif R21
SOURCES = new.cpp
#else
SOURCES = old.cpp
#endif
#include "common.mk"
#ifndef R20
LINK = $(COMMON_LIBS) -lnew   /* R20 is gone */
#endif
