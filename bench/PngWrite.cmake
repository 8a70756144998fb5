# The PNG export filter beside plain libpng.
target_link_libraries(${target} PRIVATE kwvd_filters_common PNG::PNG ${CMAKE_DL_LIBS})
add_dependencies(${target} PT31XPNG)
target_compile_definitions(${target} PRIVATE KWVD_FILTER_DIR="$<TARGET_FILE_DIR:PT31XPNG>")
