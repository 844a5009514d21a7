# The package's private library folder, relative to the prefix. Under the multiarch folder,
# since CPack calls ldconfig for any folder right below /usr/lib, which a private folder does
# not need.
include(GNUInstallDirs)
if(CMAKE_LIBRARY_ARCHITECTURE)
  set(ZORIX7_PRIVATE_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE}/zorix7check)
else()
  set(ZORIX7_PRIVATE_LIBDIR ${CMAKE_INSTALL_LIBDIR}/zorix7check)
endif()
