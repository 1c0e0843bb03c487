#define COMMON 1
COMMON_LIBS = -lcore -lutil
