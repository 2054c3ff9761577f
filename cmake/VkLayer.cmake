# vk_add_layer(<name> [CORE] [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# Makes the static library vk_<name> (alias vk::<name>) from every source in
# the calling folder. CORE marks a library without widgets (fuzz targets link it).
function(vk_add_layer name)
  cmake_parse_arguments(ARG "CORE" "" "PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  add_library(vk_${name} STATIC ${sources})
  add_library(vk::${name} ALIAS vk_${name})
  target_include_directories(vk_${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(vk_${name} PRIVATE -Wall -Wextra)
  target_link_libraries(vk_${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
  if(ARG_CORE)
    set(VK_CORE_LIBS ${VK_CORE_LIBS} vk::${name} CACHE INTERNAL "")
  endif()
endfunction()
