# Main specifications of the example installation: read by the tools from
# the configuration search path and resolved once.
Product      = zbzb
ProductLevel = V5
ProductTitle = $(Product) $(ProductLevel)
ToolsData    = $(ZbzbINSTALL_PATH)/code/tools/data
