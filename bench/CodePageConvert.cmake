target_link_libraries(${target} PRIVATE kwvd_clientaccess)
