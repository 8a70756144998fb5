# The JVX export and import of a whole document beside plain file I/O.
target_link_libraries(${target} PRIVATE kwvd_model)
