// Fuzzes the two ways through a tree: a random tree of a declared type, made by the input's
// bytes (its root type, a spine that may go past the depth written by type, and every choice
// below), is written by type and as a list's item, which the walk writes; the texts must be the
// same, or both refused.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "../tests/random_tree.h"
#include "../tests/to_json.h"

namespace {

// The text of v, or the refusal's message.
std::string written(const qc::Value& v) {
  try {
    return qc::to_json(v);
  } catch (const std::logic_error& e) {
    return std::string("refused: ") + e.what();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  size_t at = 0;
  // A byte for a choice of up to 256, two for more; zero once the input is used up, which
  // ends every branch.
  auto choose = [&](uint64_t n) -> uint64_t {
    uint64_t v = 0;
    for (uint64_t span = 1; span < n && at < size; span <<= 8) v = v << 8 | data[at++];
    return v % n;
  };
  const auto& roots = qc::RandomTree::roots();
  const qc::ModelType& root = *roots[choose(roots.size())];
  const int spine = int(choose(200));
  const qc::Value tree = qc::RandomTree(choose).make(root, spine, 64);
  const std::string typed = written(tree), walked = written(qc::list({tree}));
  const bool refused = typed.rfind("refused: ", 0) == 0;
  if (refused ? typed != walked : "[" + typed + "]" != walked) {
    std::fprintf(stderr, "typed:  %.2000s\nwalked: %.2000s\n", typed.c_str(), walked.c_str());
    std::abort();
  }
  return 0;
}
