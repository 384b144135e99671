/* Prints the result codes of GetHWInv with their meanings, one a line, for
 * the release's README.txt. Built and run on the build machine; Morv.h's
 * calling convention means nothing there. */
#define __stdcall
#include <stdio.h>

#include "include/MorvResultText.h"

int main(void) {
  unsigned i;
  for (i = 0; i < sizeof kMorvResultTexts / sizeof kMorvResultTexts[0]; ++i)
    printf("%6d  %s\n", kMorvResultTexts[i].code, kMorvResultTexts[i].text);
  return 0;
}
