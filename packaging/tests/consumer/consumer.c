/* A program of another project: the header compiles as C and the exports resolve. */
#include <tindrel/tindrel.h>

int main(void) {
    return isInitialized() ? 1 : 0;
}
