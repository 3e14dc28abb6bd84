# A driver library as the program loads it from its folder: a shared library named
# USBFunctions that exports exactly LoadFirmWare, VendorIORequest and DriverLastError (the
# driver's reason for its last failure) under their plain names (32-bit Windows would
# otherwise decorate the __stdcall names) and leaves nothing unresolved.
# Both the simulated board and the i2c-dev library are built through this one function.
set(KTS_DRIVER_EXPORTS_DIR ${CMAKE_CURRENT_LIST_DIR}/../usbfunctions)

function(kts_driver_library target)
  add_library(${target} SHARED ${ARGN})
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME USBFunctions
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    AUTOMOC OFF
    AUTORCC OFF)
  if(WIN32)
    set_target_properties(${target} PROPERTIES PREFIX "")  # USBFunctions.dll, not libUSBFunctions.dll
    target_sources(${target} PRIVATE ${KTS_DRIVER_EXPORTS_DIR}/USBFunctions.def)
    # The .def file's plain names stand for the decorated __stdcall symbols ("Name@N").
    target_link_options(${target} PRIVATE "LINKER:--enable-stdcall-fixup")
  elseif(NOT APPLE)
    target_link_options(${target} PRIVATE
      "LINKER:--version-script=${KTS_DRIVER_EXPORTS_DIR}/USBFunctions.map" "LINKER:--no-undefined")
    set_target_properties(${target} PROPERTIES LINK_DEPENDS ${KTS_DRIVER_EXPORTS_DIR}/USBFunctions.map)
  endif()
endfunction()

# Everything in the calling folder but DriverExports.cpp, as a static library: the driver
# library is built from DriverExports.cpp over it, and the tests drive its parts directly.
function(kts_driver_parts target)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/DriverExports.cpp)
  kts_platform_sources(sources ${sources})
  add_library(${target} STATIC ${sources})
  set_target_properties(${target} PROPERTIES
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON AUTOMOC OFF AUTORCC OFF)
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC kts_protocol)
endfunction()
