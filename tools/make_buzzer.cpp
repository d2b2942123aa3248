// placeholder
#include <fstream>
int main(int, char **argv) { std::ofstream(argv[1]); }
