/*
 * TVLC transformation module interface, version 0x0100.
 *
 * A module is a shared library named tr_<something>.so placed in the
 * directory of the tvlc program. It exports one C function,
 *
 *     TModuleHeader *GetModuleHeader(void);
 *
 * and reaches the program only through the records below. Both records are
 * packed (byte alignment), little-endian, with 8-byte pointers and entry
 * points, in the field order of the original 32-bit interface. The offsets
 * are written beside every field and pinned by static assertions at the end
 * of this header, so a module built with any C or C++ compiler against this
 * header alone agrees with the program byte for byte.
 *
 * Rules of the interface:
 *  - Status results are one byte: 0 success, any other value a failure code
 *    (TVLC_STATUS_* below). Exceptions never cross this boundary.
 *  - Sample and coefficient arrays are W x H doubles in row-major order:
 *    pixel (x, y) is element y*W + x, coefficient (u, v) element v*W + u.
 *    The program allocates every array it hands to a slot with its element
 *    count stored as a signed 64-bit integer in the 8 bytes just before the
 *    first element (TVLC_ARRAY_LENGTH reads it). A module may use it to check
 *    that an array holds exactly W*H elements; a NULL array counts as empty.
 *  - A mask array holds 1.0 for pixels inside the shape and 0.0 outside.
 *  - The module owns both records and every string they point to for as long
 *    as it stays loaded. The program writes only LibHandle,
 *    FindTransformation and HostVersion of the header.
 *  - All calls come from one thread; at most one transformation is between
 *    Init and Done at a time.
 */
#ifndef TVLC_MODULE_H
#define TVLC_MODULE_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define TVLC_INTERFACE_VERSION 0x0100u

/* Status codes of the built-in transformations; a module may use them too. */
enum {
    TVLC_STATUS_OK = 0,
    TVLC_STATUS_NO_MEMORY = 1,        /* or a failure while building tables */
    TVLC_STATUS_BUSY = 2,             /* a transform is running */
    TVLC_STATUS_WRONG_STATE = 3,      /* wrong state or kind, or array missing */
    TVLC_STATUS_ALREADY_INIT = 4,     /* Init again before Done */
    TVLC_STATUS_NOT_INIT = 5,
    TVLC_STATUS_INVALID_SIZE = 6,     /* zero, not a power of two, too large */
    TVLC_STATUS_LENGTH_MISMATCH = 7,  /* array length differs from W*H */
    TVLC_STATUS_NOT_SUPPORTED = 8     /* parameter index not supported */
};

/* Element count of an array handed over by the program (0 for NULL). */
#define TVLC_ARRAY_LENGTH(p) ((p) ? ((const int64_t *)(const void *)(p))[-1] : (int64_t)0)

struct TTransDescriptor;

/* Descriptor slots. Width and height values are unsigned 16-bit numbers
 * widened to 32 bits. */
typedef uint8_t (*TInitProc)(uint32_t width, uint32_t height);
typedef uint8_t (*TDoneProc)(void);
typedef void (*TBasisNormsProc)(double *mask, double *norms);
typedef double (*TBasisProc)(uint32_t u, uint32_t v, uint32_t x, uint32_t y);
typedef uint8_t (*TTransformProc)(uint32_t inverse, double *data);
typedef uint8_t (*TGetParamProc)(int32_t index, intptr_t *value, int32_t *size);
typedef uint8_t (*TSetParamProc)(int32_t index, intptr_t value);
typedef int32_t (*TGetConfigProc)(void **data);
typedef void (*TSetConfigProc)(const void *data, int32_t size);
typedef void (*TConfigureProc)(void);
typedef double (*TQuantWeightProc)(uint32_t u, uint32_t v, uint32_t width, uint32_t height);
typedef uint8_t (*TGetStateProc)(void);

/* Module header entry points. */
typedef void (*TModuleInitProc)(void);
typedef void (*TModuleDoneProc)(void);
typedef struct TTransDescriptor *(*TGetTransformationProc)(int32_t index);
typedef struct TTransDescriptor *(*TFindTransformationProc)(int32_t module_code,
                                                           int32_t trans_code);

#pragma pack(push, 1)

typedef struct TTransDescriptor {
    const char *Name;              /*   0  short name, shown in lists */
    const char *Description;       /*   8 */
    int32_t TransCode;             /*  16  stored with every encoded shape */
    uint16_t Version;              /*  20  high byte major, low byte minor */
    uint8_t Listed;                /*  22  0: hidden from the selection dialog */
    TInitProc Init;                /*  23  slot 0, required */
    TDoneProc Done;                /*  31  slot 1, required */
    TBasisNormsProc BasisNorms;    /*  39  slot 2, may be NULL */
    TBasisProc Basis;              /*  47  slot 3, required */
    TTransformProc Transform;      /*  55  slot 4, required */
    TGetParamProc GetParam;        /*  63  slot 5 */
    TSetParamProc SetParam;        /*  71  slot 6 */
    TGetConfigProc GetConfig;      /*  79  slot 7, may be NULL */
    TSetConfigProc SetConfig;      /*  87  slot 8, may be NULL */
    TConfigureProc Configure;      /*  95  slot 9, may be NULL */
    TQuantWeightProc QuantWeight;  /* 103  slot 10, may be NULL */
    TGetStateProc GetState;        /* 111  slot 11 */
    uint8_t LastError;             /* 119  module's own: status of its last call */
    int32_t Width;                 /* 120  module's own: width of the last Init */
    int32_t Height;                /* 124  module's own: height of the last Init */
} TTransDescriptor;                /* 128 bytes */

typedef struct TModuleHeader {
    uint16_t InterfaceVersion;                  /*  0  must be TVLC_INTERFACE_VERSION */
    const char *Name;                           /*  2 */
    const char *Description;                    /* 10 */
    const char *Author;                         /* 18 */
    int32_t ModuleCode;                         /* 26  stored with every encoded shape */
    uint16_t ModuleVersion;                     /* 30  high byte major, low byte minor */
    void *LibHandle;                            /* 32  written by the program */
    TModuleInitProc ModuleInit;                 /* 40 */
    TModuleDoneProc ModuleDone;                 /* 48 */
    TGetTransformationProc GetTransformation;   /* 56  NULL past the last index */
    TFindTransformationProc FindTransformation; /* 64  written by the program */
    uint16_t HostVersion;                       /* 72  written by the program */
} TModuleHeader;                                /* 74 bytes */

#pragma pack(pop)

typedef TModuleHeader *(*TGetModuleHeaderProc)(void);

#ifdef __cplusplus
#define TVLC_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define TVLC_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

TVLC_STATIC_ASSERT(sizeof(void *) == 8, "the interface is laid out for 8-byte pointers");
TVLC_STATIC_ASSERT(offsetof(TTransDescriptor, Name) == 0, "Name");
TVLC_STATIC_ASSERT(offsetof(TTransDescriptor, Description) == 8, "Description");
TVLC_STATIC_ASSERT(offsetof(TTransDescriptor, TransCode) == 16, "TransCode");
TVLC_STATIC_ASSERT(offsetof(TTransDescriptor, Version) == 20, "Version");
TVLC_STATIC_ASSERT(offsetof(TTransDescriptor, Listed) == 22, "Listed");
TVLC_STATIC_ASSERT(offsetof(TTransDescriptor, Init) == 23, "Init");
TVLC_STATIC_ASSERT(offsetof(TTransDescriptor, Done) == 31, "Done");
TVLC_STATIC_ASSERT(offsetof(TTransDescriptor, BasisNorms) == 39, "BasisNorms");
TVLC_STATIC_ASSERT(offsetof(TTransDescriptor, Basis) == 47, "Basis");
TVLC_STATIC_ASSERT(offsetof(TTransDescriptor, Transform) == 55, "Transform");
TVLC_STATIC_ASSERT(offsetof(TTransDescriptor, GetParam) == 63, "GetParam");
TVLC_STATIC_ASSERT(offsetof(TTransDescriptor, SetParam) == 71, "SetParam");
TVLC_STATIC_ASSERT(offsetof(TTransDescriptor, GetConfig) == 79, "GetConfig");
TVLC_STATIC_ASSERT(offsetof(TTransDescriptor, SetConfig) == 87, "SetConfig");
TVLC_STATIC_ASSERT(offsetof(TTransDescriptor, Configure) == 95, "Configure");
TVLC_STATIC_ASSERT(offsetof(TTransDescriptor, QuantWeight) == 103, "QuantWeight");
TVLC_STATIC_ASSERT(offsetof(TTransDescriptor, GetState) == 111, "GetState");
TVLC_STATIC_ASSERT(offsetof(TTransDescriptor, LastError) == 119, "LastError");
TVLC_STATIC_ASSERT(offsetof(TTransDescriptor, Width) == 120, "Width");
TVLC_STATIC_ASSERT(offsetof(TTransDescriptor, Height) == 124, "Height");
TVLC_STATIC_ASSERT(sizeof(TTransDescriptor) == 128, "TTransDescriptor size");

TVLC_STATIC_ASSERT(offsetof(TModuleHeader, InterfaceVersion) == 0, "InterfaceVersion");
TVLC_STATIC_ASSERT(offsetof(TModuleHeader, Name) == 2, "Name");
TVLC_STATIC_ASSERT(offsetof(TModuleHeader, Description) == 10, "Description");
TVLC_STATIC_ASSERT(offsetof(TModuleHeader, Author) == 18, "Author");
TVLC_STATIC_ASSERT(offsetof(TModuleHeader, ModuleCode) == 26, "ModuleCode");
TVLC_STATIC_ASSERT(offsetof(TModuleHeader, ModuleVersion) == 30, "ModuleVersion");
TVLC_STATIC_ASSERT(offsetof(TModuleHeader, LibHandle) == 32, "LibHandle");
TVLC_STATIC_ASSERT(offsetof(TModuleHeader, ModuleInit) == 40, "ModuleInit");
TVLC_STATIC_ASSERT(offsetof(TModuleHeader, ModuleDone) == 48, "ModuleDone");
TVLC_STATIC_ASSERT(offsetof(TModuleHeader, GetTransformation) == 56, "GetTransformation");
TVLC_STATIC_ASSERT(offsetof(TModuleHeader, FindTransformation) == 64, "FindTransformation");
TVLC_STATIC_ASSERT(offsetof(TModuleHeader, HostVersion) == 72, "HostVersion");
TVLC_STATIC_ASSERT(sizeof(TModuleHeader) == 74, "TModuleHeader size");

#ifdef __cplusplus
}
#endif

#endif /* TVLC_MODULE_H */
