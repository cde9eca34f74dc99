/* The program of the CPack example: says which version it is. */
#include <stdio.h>

int main(void) {
  printf("Hello from Orvalis Hello %s\n", HELLO_VERSION);
  return 0;
}
