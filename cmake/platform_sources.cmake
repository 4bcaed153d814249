# SPDX-License-Identifier: GPL-3.0-or-later
# Which sources a build compiles, by the platform and the libraries found.
# Code for one platform lives in files of its own, named for it:
#   windows_*.cc          Windows only
#   posix_*.cc, freedesktop_*.cc   everywhere else
#   *_libdeflate.cc       where libdeflate was found
#   *_zlib.cc             where it was not (the same work done with zlib)
#
#   spravka_platform_sources(SOURCES)  # filters the list in place
function(spravka_platform_sources list_var)
  set(sources ${${list_var}})
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "/(posix|freedesktop)_[^/]*$")
  else()
    list(FILTER sources EXCLUDE REGEX "/windows_[^/]*$")
  endif()
  if(SPRAVKA_HAS_LIBDEFLATE_ZLIB)
    list(FILTER sources EXCLUDE REGEX "_zlib\\.cc$")
  else()
    list(FILTER sources EXCLUDE REGEX "_libdeflate\\.cc$")
  endif()
  set(${list_var} ${sources} PARENT_SCOPE)
endfunction()
