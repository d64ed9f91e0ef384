"""The toolchain files that may be linked into the exes and the page, the component each belongs
to, its licence in words and as an SPDX expression, and which parts of its package's copyright
file are the notice that must go with the binary. A linked file that is in none of them stops
the release."""

# clang-format off
COMPONENTS = [
    # name, what it is, licence, files, notice, SPDX licence expression
    ("MinGW-w64 runtime", "start-up code, C runtime support and import libraries",
     "Zope Public License 2.1",
     ["crt2.o", "crt2u.o", "libmingw32.a", "libmingwex.a", "libmoldname.a", "libmsvcrt.a",
      "libkernel32.a", "libuser32.a", "libgdi32.a", "libcomctl32.a", "libadvapi32.a",
      "libshell32.a", "libole32.a", "libuxtheme.a"],
     ("dep5", ["*"]), "ZPL-2.1"),
    ("winpthreads", "POSIX threads for Windows, behind the C++ runtime's locks",
     "MIT (Expat); its pthread.h: BSD 3-clause",
     ["libpthread.a", "libwinpthread.a"],
     ("dep5", ["mingw-w64-libraries/winpthreads/*",
               "mingw-w64-libraries/winpthreads/include/pthread.h"]), "MIT AND BSD-3-Clause"),
    ("libgcc", "GCC's low-level runtime and exception unwinder",
     "GNU GPL 3 or later with the GCC Runtime Library Exception 3.1",
     ["crtbegin.o", "crtend.o", "libgcc.a", "libgcc_eh.a"], ("gcc", None),
     "GPL-3.0-or-later WITH GCC-exception-3.1"),
    ("libstdc++", "GCC's C++ standard library",
     "GNU GPL 3 or later with the GCC Runtime Library Exception 3.1",
     ["libstdc++.a", "libsupc++.a"], ("gcc", None), "GPL-3.0-or-later WITH GCC-exception-3.1"),
    ("libssp", "GCC's stack protector",
     "GNU GPL 3 or later with the GCC Runtime Library Exception 3.1",
     ["libssp.a", "libssp_nonshared.a"], ("gcc", None), "GPL-3.0-or-later WITH GCC-exception-3.1"),
    ("wasi-libc", "the C library of WebAssembly programs: memory and its copying",
     "CC0 1.0; its parts from musl: MIT", ["libc.a", "crt1-reactor.o"],
     ("dep5", ["*", "libc-top-half/musl/*"]), "CC0-1.0 AND MIT"),
    # The LLVM exception to the Apache licence asks for no notice with compiled code.
    ("libc++", "LLVM's C++ standard library", "Apache 2.0 with LLVM exceptions",
     ["libc++.a", "libc++abi.a"], ("none", None), "Apache-2.0 WITH LLVM-exception"),
]
# clang-format on

BY_FILE = {f: c for c in COMPONENTS for f in c[3]}
