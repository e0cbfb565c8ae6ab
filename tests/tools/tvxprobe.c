/* The smallest console program of the build's architecture: the test command
   runs it first to learn whether this machine runs such code under Wine. */
#include <stdio.h>

int main(void) {
    printf("tvxprobe: this process runs (%d-bit)\n", (int)(sizeof(void*) * 8));
    return 0;
}
