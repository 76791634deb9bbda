# Read by cpack: the package's dependencies on shared libraries, worked out by
# dpkg-shlibdeps from the built programs. (CPack's own run of dpkg-shlibdeps
# would also give the package ldconfig calls for the skin library, which needs
# none, being loaded by its path; without maintainer scripts a removed package
# leaves no trace.)
set(work "${CPACK_PACKAGE_DIRECTORY}/_CPack_Packages/shlibdeps")
file(MAKE_DIRECTORY "${work}/debian")
file(TOUCH "${work}/debian/control") # dpkg-shlibdeps insists on one
execute_process(COMMAND dpkg-shlibdeps -O ${CPACK_PIXTOR_PROGRAMS} WORKING_DIRECTORY "${work}"
                RESULT_VARIABLE failed OUTPUT_VARIABLE found ERROR_VARIABLE messages
                OUTPUT_STRIP_TRAILING_WHITESPACE)
if(failed OR NOT found MATCHES "^shlibs:Depends=")
  message(FATAL_ERROR "dpkg-shlibdeps could not work out the libraries' packages:\n${messages}")
endif()
string(REGEX REPLACE "^shlibs:Depends=" ", " found "${found}")
string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS "${found}")
