/* The module's own messages: the interface has no channel for text, so they
 * go to the standard error stream, the place of a message box here. */
#ifndef TR_VESKA_MESSAGES_H
#define TR_VESKA_MESSAGES_H

/* Prints "caption: text" and a line end, or the text alone when caption is
 * NULL. */
void show_message(const char *text, const char *caption);

#endif
