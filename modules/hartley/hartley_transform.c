#include "hartley_transform.h"

#include <math.h>
#include <stdlib.h>

#include "fht.h"
#include "hartley_module.h"
#include "messages.h"

/* The built-in DCT II, whose quantization weights this module borrows. */
#define DCT_MODULE_CODE 1
#define DCT_TRANS_CODE 2

/* Defined with its slots at the end of this file. */
static TTransDescriptor descriptor;

/* Failure of a Transform or BasisNorms since the last Init, reported by the
 * following Done: the program ignores the status of Transform and
 * BasisNorms has none, so Done is the only way to fail the encode. */
static uint8_t pending_failure;

static uint8_t fail(uint8_t status)
{
    descriptor.LastError = status;
    if (pending_failure == TVLC_STATUS_OK) {
        pending_failure = status;
    }
    return status;
}

static int is_power_of_two(uint32_t n)
{
    return n != 0 && (n & (n - 1)) == 0;
}

/* cas(2*pi' * k * m / n) with the angle formed in extended precision and
 * rounded to a double, the way Basis and BasisNorms both take it. */
static double cas_at(uint32_t k, uint32_t m, uint32_t n)
{
    const double angle = (double)(((2.0L * HARTLEY_PI) * k) * m / n);
    return cos(angle) + sin(angle);
}

static double cas_squared(uint32_t k, uint32_t m, uint32_t n)
{
    return pow(cas_at(k, m, n), 2);
}

/* The program hands over arrays of exactly W*H elements; anything else is
 * refused instead of read past its end. */
static uint8_t check_block(const double *block)
{
    if (!block) {
        return TVLC_STATUS_WRONG_STATE;
    }
    const int64_t expected = (int64_t)descriptor.Width * descriptor.Height;
    return TVLC_ARRAY_LENGTH(block) == expected ? TVLC_STATUS_OK : TVLC_STATUS_LENGTH_MISMATCH;
}

static uint8_t init(uint32_t width, uint32_t height)
{
    pending_failure = TVLC_STATUS_OK;
    /* The fast transform works on power-of-two lines only; the program's
     * blocks always are. */
    if (!is_power_of_two(width) || !is_power_of_two(height)) {
        descriptor.LastError = TVLC_STATUS_INVALID_SIZE;
        return TVLC_STATUS_INVALID_SIZE;
    }
    descriptor.Width = (int32_t)width;
    descriptor.Height = (int32_t)height;
    descriptor.LastError = TVLC_STATUS_OK;
    return TVLC_STATUS_OK;
}

static uint8_t done(void)
{
    const uint8_t status = pending_failure;
    pending_failure = TVLC_STATUS_OK;
    descriptor.LastError = status;
    return status;
}

static double basis(uint32_t u, uint32_t v, uint32_t x, uint32_t y)
{
    return cas_at(u, x, (uint32_t)descriptor.Width) * cas_at(v, y, (uint32_t)descriptor.Height);
}

static void basis_norms(double *mask, double *norms)
{
    uint8_t status = check_block(mask);
    if (status == TVLC_STATUS_OK) {
        status = check_block(norms);
    }
    if (status != TVLC_STATUS_OK) {
        fail(status);
        return;
    }
    const uint32_t w = (uint32_t)descriptor.Width;
    const uint32_t h = (uint32_t)descriptor.Height;
    /* columns[v + x*h]: the vertical factor of every norm of column x. */
    double *columns = calloc((size_t)w * h, sizeof *columns);
    if (!columns) {
        show_message("Can't allocate memory", NULL);
        fail(TVLC_STATUS_NO_MEMORY);
        return;
    }
    for (uint32_t v = 0; v < h; ++v) {
        for (uint32_t x = 0; x < w; ++x) {
            double sum = 0.0;
            for (uint32_t y = 0; y < h; ++y) {
                sum += cas_squared(v, y, h) * mask[(size_t)y * w + x];
            }
            columns[v + (size_t)x * h] = sum;
        }
    }
    for (uint32_t u = 0; u < w; ++u) {
        for (uint32_t v = 0; v < h; ++v) {
            double sum = 0.0;
            for (uint32_t x = 0; x < w; ++x) {
                sum += cas_squared(u, x, w) * columns[v + (size_t)x * h];
            }
            norms[(size_t)v * w + u] += sum;
        }
    }
    free(columns);
}

/* Transforms count lines of length n, element i of a line at
 * data[first + i*stride], with first = line * line_step. */
static void transform_lines(double *data, uint32_t count, size_t line_step, uint32_t n,
                            size_t stride, double *line, double *result)
{
    for (uint32_t l = 0; l < count; ++l) {
        double *first = data + l * line_step;
        for (uint32_t i = 0; i < n; ++i) {
            line[i] = first[i * stride];
        }
        fht_line(line, result, n);
        for (uint32_t i = 0; i < n; ++i) {
            first[i * stride] = result[i];
        }
    }
}

static uint8_t transform(uint32_t inverse, double *data)
{
    const uint8_t status = check_block(data);
    if (status != TVLC_STATUS_OK) {
        return fail(status);
    }
    const uint32_t w = (uint32_t)descriptor.Width;
    const uint32_t h = (uint32_t)descriptor.Height;
    const uint32_t longest = w > h ? w : h;
    double *line = malloc(longest * sizeof *line);
    double *result = malloc(longest * sizeof *result);
    if (!line || !result) {
        free(line);
        free(result);
        show_message("Not enough memory", "Error");
        return fail(TVLC_STATUS_NO_MEMORY);
    }
    if (inverse == 0) {
        transform_lines(data, h, w, w, 1, line, result);
        transform_lines(data, w, 1, h, w, line, result);
    } else {
        transform_lines(data, w, 1, h, w, line, result);
        transform_lines(data, h, w, w, 1, line, result);
    }
    free(line);
    free(result);
    descriptor.LastError = TVLC_STATUS_OK;
    return TVLC_STATUS_OK;
}

static uint8_t get_param(int32_t index, intptr_t *value, int32_t *size)
{
    (void)index;
    (void)value;
    (void)size;
    descriptor.LastError = TVLC_STATUS_OK;
    return TVLC_STATUS_OK;
}

static uint8_t set_param(int32_t index, intptr_t value)
{
    (void)index;
    (void)value;
    descriptor.LastError = TVLC_STATUS_OK;
    return TVLC_STATUS_OK;
}

/* DCT II's weight scaled by 1/sqrt(W*H); without DCT II (no host lookup,
 * no such transformation or no weights) the plain step 1.0 is scaled. */
static double quant_weight(uint32_t u, uint32_t v, uint32_t width, uint32_t height)
{
    const double scale = sqrt((double)(width * height));
    const TModuleHeader *header = hartley_module_header();
    const TTransDescriptor *dct =
        header->FindTransformation ? header->FindTransformation(DCT_MODULE_CODE, DCT_TRANS_CODE)
                                   : NULL;
    if (!dct || !dct->QuantWeight) {
        return 1.0 / scale;
    }
    return dct->QuantWeight(u, v, width, height) / scale;
}

static uint8_t get_state(void)
{
    return 0;
}

static TTransDescriptor descriptor = {
    .Name = "Hartley transformation",
    .Description = "Fast CAS-CAS transformation",
    .TransCode = HARTLEY_TRANS_CODE,
    .Version = 0x0009,
    .Listed = 1,
    .Init = init,
    .Done = done,
    .BasisNorms = basis_norms,
    .Basis = basis,
    .Transform = transform,
    .GetParam = get_param,
    .SetParam = set_param,
    .QuantWeight = quant_weight,
    .GetState = get_state,
};

TTransDescriptor *hartley_descriptor(void)
{
    return &descriptor;
}
