# Fails when a page of the manual that the build makes differs from the one in docs/:
#   cmake -DMADE=BUILT_PAGE -DPAGE=DOCS_PAGE -P SamePage.cmake
file(READ ${MADE} made)
file(READ ${PAGE} page)
if(NOT made STREQUAL page)
  message(FATAL_ERROR "${PAGE} is not what the build makes of the registry of settings; "
                      "after a build, cp ${MADE} ${PAGE}")
endif()
