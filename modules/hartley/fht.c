#include "fht.h"

#include <math.h>

/* out = in in bit-reversed index order, walked with the reversed counter c
 * (1-based like k) so that no index is ever bit-reversed explicitly. */
static void bit_reversal_copy(const double *in, double *out, uint32_t n)
{
    uint32_t c = 1;
    for (uint32_t k = 1; k < n; ++k) {
        if (c >= k) {
            out[k - 1] = in[c - 1];
            out[c - 1] = in[k - 1];
        }
        uint32_t d = n / 2;
        while (d < c) {
            c -= d;
            d /= 2;
        }
        c += d;
    }
    out[n - 1] = in[n - 1];
}

static void sum_difference(double *a, double *b)
{
    const double sum = *a + *b;
    *b = *a - *b;
    *a = sum;
}

/* One later stage on the block starting at out: half length d, the
 * twiddles of angle k*theta come from the rotation (c1, s1), so the stage
 * needs one cosine and one sine only. */
static void butterfly_block(double *out, uint32_t d, double c1, double s1)
{
    const uint32_t h = 2 * d;
    sum_difference(&out[0], &out[d]);
    sum_difference(&out[d / 2], &out[d + d / 2]);
    double ck = c1;
    double sk = s1;
    for (uint32_t k = 1; k < d / 2; ++k) {
        const double a = ck * out[d + k] + sk * out[h - k];
        const double b = sk * out[d + k] - ck * out[h - k];
        out[d + k] = out[k] - a;
        out[k] += a;
        out[h - k] = out[d - k] - b;
        out[d - k] += b;
        const double next_c = ck * c1 - sk * s1;
        sk = sk * c1 + ck * s1;
        ck = next_c;
    }
}

void fht_line(const double *in, double *out, uint32_t n)
{
    if (n == 1) {
        out[0] = in[0];
        return;
    }
    bit_reversal_copy(in, out, n);
    for (uint32_t j = 0; j < n; j += 2) {
        sum_difference(&out[j], &out[j + 1]);
    }
    for (uint32_t d = 2; d < n; d *= 2) {
        const double theta = (double)(HARTLEY_PI / d);
        const double c1 = cos(theta);
        const double s1 = sin(theta);
        for (uint32_t b = 0; b < n; b += 2 * d) {
            butterfly_block(&out[b], d, c1, s1);
        }
    }
}
