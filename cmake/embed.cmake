# radaded_embed(TARGET NAMESPACE FILE...)
# Turns each FILE into a byte array compiled into TARGET, reachable as
# NAMESPACE::<file name with '.' and '-' replaced by '_'> (a std::span<const unsigned char>).
function(radaded_embed target ns)
  set(out_dir ${CMAKE_CURRENT_BINARY_DIR}/embedded)
  file(MAKE_DIRECTORY ${out_dir})
  foreach(file IN LISTS ARGN)
    get_filename_component(name ${file} NAME)
    string(MAKE_C_IDENTIFIER ${name} ident)
    set(cpp ${out_dir}/${ident}.cpp)
    add_custom_command(
      OUTPUT ${cpp}
      COMMAND ${CMAKE_COMMAND} -DIN=${file} -DOUT=${cpp} -DNS=${ns} -DIDENT=${ident}
              -P ${PROJECT_SOURCE_DIR}/cmake/embed_file.cmake
      DEPENDS ${file} ${PROJECT_SOURCE_DIR}/cmake/embed_file.cmake
      VERBATIM)
    target_sources(${target} PRIVATE ${cpp})
  endforeach()
endfunction()
