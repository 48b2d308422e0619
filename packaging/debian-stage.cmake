# Run by CPack on the staging tree, after the installation and before the package is made: what a
# Debian package needs beyond a plain installation.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()

set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(NOT IS_DIRECTORY "${root}/bin")
  message(FATAL_ERROR "No staged installation in ${root}")
endif()

find_program(KSNED_GZIP gzip REQUIRED)
# gzip -9n: the best compression, and neither the file name nor its time in the header, so that the
# same sources give the same package.
function(ksned_gzip file)
  execute_process(COMMAND "${KSNED_GZIP}" -9nf "${file}" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${file}")
  endif()
endfunction()

file(GLOB_RECURSE manpages "${root}/share/man/*")
foreach(page IN LISTS manpages)
  if(NOT page MATCHES "\\.gz$")
    ksned_gzip("${page}")
  endif()
endforeach()

set(doc "${root}/share/doc/${CPACK_PACKAGE_NAME}")
file(COPY "${CPACK_KSNED_DEBIAN_DIR}/copyright" DESTINATION "${doc}"
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
# The package's version has no Debian revision: it is the project's own, so its changelog is
# changelog.gz.
file(COPY "${CPACK_KSNED_DEBIAN_DIR}/changelog" DESTINATION "${doc}"
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
ksned_gzip("${doc}/changelog")

# Debian's shared objects are not executable; the program loads the sound module, nothing runs it.
file(GLOB modules "${root}/lib/ksned32/*")
foreach(module IN LISTS modules)
  file(CHMOD "${module}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endforeach()
