// zorvik: a chat-room game host.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("zorvik %s\n", ZORVIK_VERSION);
    return 0;
  }
  std::fprintf(stderr, "usage: zorvik --version\n");
  return 2;
}
