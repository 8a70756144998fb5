target_link_libraries(${target} PRIVATE kwvd_merrow_scs kwvd_clientaccess)
