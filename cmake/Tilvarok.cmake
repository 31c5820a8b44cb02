# Helpers that turn the source layout into targets: one static library per source folder,
# one GoogleTest program per folder under tests/.

set(TILVAROK_FOLDERS "" CACHE INTERNAL "")

# tv_platform_system from platform/system, tv_app from app, ...
function(tilvarok_target_name folder out)
  string(REPLACE "/" "_" name "${folder}")
  set(${out} "tv_${name}" PARENT_SCOPE)
endfunction()

# tilvarok_library(<folder> <dependency>...): a dependency is a source folder or a target.
function(tilvarok_library folder)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(NOT sources)
    return()
  endif()
  tilvarok_target_name(${folder} target)
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  # A dependency is a target (tv_assets, ZLIB::ZLIB) or a source folder; a folder without
  # sources yet has no library and is skipped.
  foreach(dep IN LISTS ARGN)
    if(TARGET ${dep})
      target_link_libraries(${target} PUBLIC ${dep})
    else()
      tilvarok_target_name(${dep} dep_target)
      if(TARGET ${dep_target})
        target_link_libraries(${target} PUBLIC ${dep_target})
      endif()
    endif()
  endforeach()
  set(TILVAROK_FOLDERS ${TILVAROK_FOLDERS} ${folder} CACHE INTERNAL "")
endfunction()

# Every tests/<folder>/*.cpp becomes one program linked against the folder's library.
function(tilvarok_tests folder)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  tilvarok_target_name(${folder} lib)
  set(exe "${lib}_tests")
  add_executable(${exe} ${sources})
  target_link_libraries(${exe} PRIVATE ${lib} GTest::gtest GTest::gmock GTest::gtest_main)
  # Window-level tests drive the headless display; everything from the window layer up gets it.
  if(TARGET tv_platform_display AND NOT folder MATCHES "^platform/(system|gdi)$")
    target_link_libraries(${exe} PRIVATE tv_platform_display)
  endif()
  target_compile_definitions(${exe} PRIVATE TILVAROK_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
  gtest_discover_tests(${exe} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "TILVAROK_DISPLAY=headless")
endfunction()

# Embeds the files a manifest lists (lines "NAME TYPE relative/path") into a library.
function(tilvarok_embed_assets target manifest)
  get_filename_component(assets_dir ${manifest} DIRECTORY)
  file(STRINGS ${manifest} lines REGEX "^[^#]")
  set(inputs ${manifest})
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[^ \t]+[ \t]+[^ \t]+[ \t]+" "" path "${line}")
    list(APPEND inputs ${assets_dir}/${path})
  endforeach()
  set(generated ${CMAKE_BINARY_DIR}/generated/EmbeddedResources.cpp)
  add_custom_command(OUTPUT ${generated}
    COMMAND tv_embed ${manifest} ${generated}
    DEPENDS tv_embed ${inputs}
    COMMENT "Embedding resources")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${manifest})
  add_library(${target} STATIC ${generated})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()
