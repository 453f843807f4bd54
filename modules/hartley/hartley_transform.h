/* The Hartley (CAS-CAS) transformation: its descriptor and slots. */
#ifndef TR_VESKA_HARTLEY_TRANSFORM_H
#define TR_VESKA_HARTLEY_TRANSFORM_H

#include "tvlc/module.h"

#define HARTLEY_TRANS_CODE 3

TTransDescriptor *hartley_descriptor(void);

#endif
