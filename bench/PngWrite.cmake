# PNG export through the core and through the filter alone, beside plain libpng.
target_link_libraries(${target} PRIVATE PICTRA31 kwvd_filters_common PNG::PNG ${CMAKE_DL_LIBS})
add_dependencies(${target} PT31XPNG)
target_compile_definitions(${target} PRIVATE KWVD_FILTER_DIR="$<TARGET_FILE_DIR:PT31XPNG>")
