# Cross-compiling for 64-bit ARM Linux with Debian's cross toolchain against
# Debian's arm64 libraries installed beside the native ones (multi-arch,
# tools/scripts/arm64-deps.sh). Programs built here run under qemu-aarch64
# through CMAKE_CROSSCOMPILING_EMULATOR; the data files come from the native
# generator, handed over as DEMO_HOST_ASSETGEN.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(DEMO_CROSS_TRIPLET aarch64-linux-gnu)

set(CMAKE_C_COMPILER ${DEMO_CROSS_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${DEMO_CROSS_TRIPLET}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${DEMO_CROSS_TRIPLET})
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64-static;-L;/usr/${DEMO_CROSS_TRIPLET})

# pkg-config reads only the arm64 .pc files.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${DEMO_CROSS_TRIPLET}/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
