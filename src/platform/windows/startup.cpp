// The mingw-w64 start-up must not expand wildcards: the program expands the
// pattern itself through the directory search.
extern "C" {
int _CRT_glob = 0;
}
