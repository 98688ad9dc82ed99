// PLACEHOLDER: the window is not there yet.
#include <cstdio>
int main() {
  std::puts("korvane: the calculator window is not built yet.");
  return 0;
}
