# Links with mold where it is installed: every test program links the whole core statically,
# and the default linker takes most of an incremental build's time on them.
find_program(VANTREL_MOLD mold)
if(VANTREL_MOLD)
  add_link_options(-fuse-ld=mold)
endif()
