#include "editor/core/dictionary_data.h"

// The three tables are assembled into the library's read-only data straight from the files
// under resources/dict (ORVI_DICT_DIR), so the program needs no table file at run time and
// the build copies no bytes through generated sources.

#define ORVI_EMBED(name, file)                                   \
  ".pushsection .rodata." #name ",\"a\",@progbits\n"             \
  ".balign 16\n"                                                 \
  ".globl " #name "_begin\n"                                     \
  ".hidden " #name "_begin\n"                                    \
  #name "_begin:\n"                                              \
  ".incbin \"" ORVI_DICT_DIR "/" file "\"\n"                     \
  ".globl " #name "_end\n"                                       \
  ".hidden " #name "_end\n"                                      \
  #name "_end:\n"                                                \
  ".popsection\n"

__asm__(ORVI_EMBED(orvi_small_table, "small_table.lzma")
        ORVI_EMBED(orvi_large_table, "large_table.lzma")
        ORVI_EMBED(orvi_conjugation_table, "conjugation_table.txt"));

extern "C" {
extern const unsigned char orvi_small_table_begin[];
extern const unsigned char orvi_small_table_end[];
extern const unsigned char orvi_large_table_begin[];
extern const unsigned char orvi_large_table_end[];
extern const unsigned char orvi_conjugation_table_begin[];
extern const unsigned char orvi_conjugation_table_end[];
}

namespace orvi {

namespace {

EmbeddedBlob Blob(const unsigned char* begin, const unsigned char* end) {
  return {begin, static_cast<std::size_t>(end - begin)};
}

}  // namespace

EmbeddedBlob SmallReadingTableBlob() {
  return Blob(orvi_small_table_begin, orvi_small_table_end);
}

EmbeddedBlob LargeReadingTableBlob() {
  return Blob(orvi_large_table_begin, orvi_large_table_end);
}

EmbeddedBlob ConjugationTableBlob() {
  return Blob(orvi_conjugation_table_begin, orvi_conjugation_table_end);
}

}  // namespace orvi
