# The LZMA SDK in C, as Debian's lzma-dev installs it (scripts/common.sh):
# compiled from there, never copied into the repository. Its decoder goes
# into setup and the starter, its encoder into tesselpack.
set(LZMA_SDK_DIR /usr/include/lzma)
set(LZMA_DECODER_SOURCES ${LZMA_SDK_DIR}/LzmaDec.c)
set(LZMA_ENCODER_SOURCES ${LZMA_SDK_DIR}/LzmaEnc.c ${LZMA_SDK_DIR}/LzFind.c)
# Single-threaded: the SDK's threaded match finder is not in the package;
# tesselpack encodes its streams side by side instead.
set_source_files_properties(${LZMA_DECODER_SOURCES} ${LZMA_ENCODER_SOURCES}
  PROPERTIES COMPILE_OPTIONS -w COMPILE_DEFINITIONS _7ZIP_ST)
# Our files that include the SDK's headers.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/../common/text/solid_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../tesselpack/text/solid_stream.cpp
  PROPERTIES INCLUDE_DIRECTORIES ${LZMA_SDK_DIR})
