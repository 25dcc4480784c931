#pragma once
// Deterministic, realistic inputs: what people copy in a Japanese office, from URLs and code to
// mail phrases, addresses and half-width katakana, all in code page 932.

#include <cstddef>
#include <string>

#include "core/lists/list_file.h"

namespace pellix::bench {

// About `chars` characters (exactly that many, cut on a character boundary) of mixed ASCII,
// full-width letters and digits, kana and kanji.
std::string MakeMixedText(std::size_t chars);

// `count` items whose lengths spread like a clipboard history's (most short, a few long, the
// longer ones often several lines), totalling about `totalBytes` bytes of text. Every item reads
// back from a list file unchanged.
lists::Items MakeHistoryItems(std::size_t count, std::size_t totalBytes);

}  // namespace pellix::bench
