#include <cstdio>

int main() {
    std::puts("Vantrel " VANTREL_VERSION_TEXT);
    return 0;
}
