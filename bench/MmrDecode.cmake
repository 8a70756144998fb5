target_link_libraries(${target} PRIVATE PT31MMR TIFF::TIFF)
