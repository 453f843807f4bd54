/* Fast Hartley transform of one line. */
#ifndef TR_VESKA_FHT_H
#define TR_VESKA_FHT_H

#include <stdint.h>

/* The module's value of pi, in extended precision like the angles formed
 * with it; the rotations and the basis use it, not M_PI. */
#define HARTLEY_PI 3.1415926535L

/* out[k] = sum over m of in[m] * cas(2*pi*k*m/n), unnormalised. n must be a
 * power of two; in and out are distinct arrays of at least n doubles. */
void fht_line(const double *in, double *out, uint32_t n);

#endif
