# The Windows build: zig's clang targeting x86_64-windows-gnu (the UCRT, LLVM's C++ runtime
# linked in), cross-compiled on Linux. tools/build-wheel.sh (its machine windows) makes what
# QC_ZIG_DIR and QC_PYTHON_WINDOWS_DIR name: zig's compiler and archivers with the target fixed,
# and CPython's headers (include/) with the import library of python3.dll (libpython3.dll.a),
# the DLL of the stable ABI, so that the module loads in every CPython from 3.10 on.
foreach(var QC_ZIG_DIR QC_PYTHON_WINDOWS_DIR)
  if(NOT DEFINED ENV{${var}})
    message(FATAL_ERROR "${var} is not set: build the Windows wheel through "
      "tools/release.sh or tools/build-wheel.sh")
  endif()
endforeach()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_CXX_COMPILER "$ENV{QC_ZIG_DIR}/c++")
set(CMAKE_AR "$ENV{QC_ZIG_DIR}/ar" CACHE FILEPATH "")
set(CMAKE_RANLIB "$ENV{QC_ZIG_DIR}/ranlib" CACHE FILEPATH "")

# The Linux release build's tuning (tools/manylinux-toolchain.cmake) without link-time
# optimisation: with it, zig's link for Windows leaves out zig's own C library objects (frexpf,
# wmemchr, pthread_spin_* come out undefined).
# -fno-file-reproducible: a panic report names its source file with "/", as on every platform
# (clang would write the prefix-mapped path with the target's "\\").
set(CMAKE_CXX_FLAGS_INIT "-fomit-frame-pointer -Xclang -O3 -mllvm -inline-threshold=600 \
-fno-jump-tables -fno-file-reproducible")
# Linked without debug information (-s). With it, lld names a PDB in the module and stamps the
# module with a hash of that PDB, which holds the temporary file name zig gave each object, so
# that no two builds gave the same bytes. Without it the stamp is a hash of the module alone, and
# lld drops the sections nothing refers to and folds the identical functions whose address is
# not taken, as in any release link: the module is a quarter smaller.
# The extension is the build's one linked target, a module.
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-s")

# The extension is built against these instead of an interpreter that FindPython would ask
# (quarnel-compute-python/CMakeLists.txt); that would add the build machine's link flags.
set(QC_PYTHON_WINDOWS_INCLUDE "$ENV{QC_PYTHON_WINDOWS_DIR}/include")
set(QC_PYTHON_WINDOWS_LIBRARY "$ENV{QC_PYTHON_WINDOWS_DIR}/libpython3.dll.a")

# The build machine's /usr/include must not enter: nlohmann::json comes from the build
# requirement.
set(CMAKE_DISABLE_FIND_PACKAGE_nlohmann_json ON)
