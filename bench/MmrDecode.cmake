# The MMR filter alone and through the imaging core, which loads it from its
# own folder, beside libtiff's G4 decoder.
target_link_libraries(${target} PRIVATE PT31MMR PICTRA31 TIFF::TIFF)
add_dependencies(${target} PT31MMR)
