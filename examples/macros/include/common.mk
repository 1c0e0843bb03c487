# Included by demo.mk.
CFLAGS = $(OPT_LEVEL) -Wall
