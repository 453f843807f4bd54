#include "messages.h"

#include <stdio.h>

void show_message(const char *text, const char *caption)
{
    if (caption) {
        fprintf(stderr, "%s: %s\n", caption, text);
    } else {
        fprintf(stderr, "%s\n", text);
    }
}
