#ifndef KESTRO_KGO_H
#define KESTRO_KGO_H

/*
 * Kestro engine: lateral analysis of single piles and drilled shafts by the
 * p-y method.
 *
 * KGO runs one analysis. It takes nothing from its caller but the working
 * directory, where it expects NAMES.DAT (six lines: input file, report file,
 * plot file, runtime message file, user name, company name). It returns the
 * run result:
 *     0         ended normally, no warning
 *     101..199  ended by input data error (result - 100)
 *     201..299  ended by runtime error (result - 200); 228 not-a-number result
 *     999       internal stop
 *     -300      no error; warnings of more than one kind were raised
 *     other < 0 no error; warnings of exactly one kind: that warning's signed number
 * An error always decides the result, also when warnings were raised before
 * it (they are still listed in the report).
 * Calls must not overlap: the engine keeps one process-wide model store.
 */

#include <stdint.h>

#if defined(_WIN32)
#define KESTRO_EXPORT __declspec(dllexport)
#else
#define KESTRO_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

KESTRO_EXPORT int32_t KGO(void);

#ifdef __cplusplus
}
#endif

#endif
