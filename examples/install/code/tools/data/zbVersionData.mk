# Version of the product, chosen by the levels of the workspace being built
# (TALVEXV5Level.lvl).  The service pack comes from Zbzb_SPKLEVEL and the
# build number from the date.
#ifdef ZB_V5
MajorVersion = 5
#if ZB_RELEASE == 21
MinorVersion = 21
#else
MinorVersion = 0
#endif
#else
MajorVersion = 4
MinorVersion = 0
#endif
