# What differs by system is one *Posix.cpp and one *Windows.cpp behind a common header; the
# build takes the one for the system it builds for, so neither needs a guard around its body.
function(kts_platform_sources out)
  set(kept)
  foreach(src ${ARGN})
    if(WIN32 AND src MATCHES "Posix\\.cpp$")
      continue()
    elseif(NOT WIN32 AND src MATCHES "Windows\\.cpp$")
      continue()
    endif()
    list(APPEND kept ${src})
  endforeach()
  set(${out} ${kept} PARENT_SCOPE)
endfunction()

# A library of one folder's sources, its system's seam files among them.
function(kts_folder_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  kts_platform_sources(sources ${sources})
  add_library(${name} STATIC ${sources})
endfunction()
