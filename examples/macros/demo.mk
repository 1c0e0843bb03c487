# A small description file: definitions, a continuation line, quoted text,
# an include line and references with modifiers.
FW_NAME     = Demo
MODULES     = $(FW_NAME)Core.m \
              $(FW_NAME)UI.m      # continued
TITLE       = 'Framework $(FW_NAME) # not a comment'
OPT_LEVEL   = $(OPTIMIZE:-'-O2')
EXTRA       = $(DEBUG:+'-g') $(LINKER:@'ld')
include common.mk
