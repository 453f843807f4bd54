/* Shared by the test modules: the export that the loader looks for. */
#ifndef TVLC_TEST_MODULE_H
#define TVLC_TEST_MODULE_H

#include "tvlc/module.h"

#define TEST_MODULE_EXPORT __attribute__((visibility("default")))

#endif
