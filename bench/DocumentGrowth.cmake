# The document operations at two sizes, from the model library.
target_link_libraries(${target} PRIVATE kwvd_model)
