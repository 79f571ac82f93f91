# Third-party libraries. The core links only the image codecs and zstd; Qt is for the UI alone.
find_package(PNG REQUIRED)
find_package(GIF REQUIRED)
find_package(TIFF REQUIRED)
find_package(JPEG REQUIRED)

if(PALVEX_BUILD_TESTS)
    find_package(GTest REQUIRED)
    include(GoogleTest)
endif()
if(PALVEX_BUILD_BENCH)
    find_package(benchmark REQUIRED)
endif()
