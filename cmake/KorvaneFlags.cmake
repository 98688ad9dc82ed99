add_compile_options(-Wall -Wextra -Wpedantic)

# Results are compared and shown to the last digit, so the compiler must evaluate every
# formula exactly as written: no fused multiply-add, no fast-math re-association. The
# flags travel with the core (calc/CMakeLists.txt), so whatever links it, inlining the
# core's header functions included, is compiled the same way.
set(KORVANE_EXACT_ARITHMETIC_FLAGS -ffp-contract=off -fno-fast-math)

if(KORVANE_SANITIZE)
  # Halt on the first report so that undefined behaviour fails the test run. GCC leaves the
  # out-of-range double-to-integer check out of "undefined"; ask for it by name.
  set(_korvane_san -fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all
                   -fno-omit-frame-pointer)
  add_compile_options(${_korvane_san})
  add_link_options(${_korvane_san})
endif()
