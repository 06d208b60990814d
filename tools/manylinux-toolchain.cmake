# The release build: zig's clang targeting glibc 2.17, so that the wheel loads on every Linux
# that manylinux2014 covers, with libc++ linked in statically. tools/build-wheel.sh makes, for
# each target (x86_64-linux-gnu, aarch64-linux-gnu), the directory that QC_ZIG_DIR names: the
# wrappers c++, ar and ranlib (zig's, with the target and glibc 2.17 fixed), and include/, which
# holds the one header of the host a target build may read besides the Python headers: the
# interpreter's configuration header, under the target's multiarch name, where the Python.h of
# a Debian interpreter looks for it (tools/stage-python-headers.py).
if(NOT DEFINED ENV{QC_ZIG_DIR})
  message(FATAL_ERROR "QC_ZIG_DIR is not set: build the release through tools/release.sh")
endif()
set(CMAKE_CXX_COMPILER "$ENV{QC_ZIG_DIR}/c++")
# Searched after every other directory, zig's C library headers among them: nothing there can
# stand in for a header of the target's C library.
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES "$ENV{QC_ZIG_DIR}/include")
# Link-time optimisation leaves bitcode in the archives: only LLVM's archiver indexes it.
set(CMAKE_AR "$ENV{QC_ZIG_DIR}/ar" CACHE FILEPATH "")
set(CMAKE_RANLIB "$ENV{QC_ZIG_DIR}/ranlib" CACHE FILEPATH "")

# Measured against GCC's build of the same tree (benchmarks/compare.py): zig turns -O3 into -O2
# and keeps frame pointers; clang's default inlining budget leaves the node makers' small helpers
# out of line where GCC inlines them; and the writer's dispatch on a value's tag, made a jump
# table, mispredicts where GCC's compares do not. The budget raised, LTO across the core and the
# binding, and compares instead of tables bring building to GCC's speed. The writer's own code
# does the rest (json.cc: its tests ordered by how often they come, integers and whole doubles
# written without libc++'s out-of-line conversion or a libm call); writing a large tree still
# takes some 5% more instructions than GCC's build.
# -fno-plt: a call into the interpreter or the C library goes through its GOT entry rather
# than a PLT stub's extra jump (zig links with -z now, so every entry is bound at load time
# either way). Measured: writing the 12-object tree to JSON, the row nearest GCC's build,
# some 2% quicker; the rows that build nodes, which are 10 to 35% quicker than GCC's build,
# lose 1 to 3% of that. Valid for aarch64 too.
# These flags reach the link as well (CMake passes them to the compiler that links), but the
# -mllvm options stop at the compile step: zig passes none of them, and no -Wl,-mllvm, to its
# link-time code generation, so codegen options that are not kept on each function (the
# alignment of blocks and loops, say) cannot be set here; -falign-functions can, and measured
# nothing.
set(CMAKE_CXX_FLAGS_INIT
    "-fomit-frame-pointer -Xclang -O3 -flto -mllvm -inline-threshold=600 -fno-jump-tables \
-fno-plt")

# The system's nlohmann::json lives beside the host's C library headers in /usr/include, which
# must not enter a build for an older glibc: the headers come from the build requirement.
set(CMAKE_DISABLE_FIND_PACKAGE_nlohmann_json ON)
