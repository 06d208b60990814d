// The two ways through a tree write the same text: the typed writer, which takes a root of a
// declared type (and hands the rest of a branch past its depth to the walk), and the walk alone,
// which takes the same tree as a list's item. Random trees of every declared root type, deep
// ones past the depth written by type included.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "random_tree.h"
#include "to_json.h"

namespace qc {
namespace {

TEST(WriterAgreement, RandomTreesWriteTheSameByTypeAndByTheWalk) {
  std::mt19937_64 random(7);
  RandomTree trees([&](uint64_t n) { return random() % n; });
  const auto& roots = RandomTree::roots();
  ASSERT_GT(roots.size(), 100u);
  int past_typed_depth = 0;
  for (int i = 0; i < 20000; ++i) {
    const ModelType& root = *roots[random() % roots.size()];
    const int spine = i % 4 == 0 ? 100 + int(random() % 100) : int(random() % 16);
    const Value tree = trees.make(root, spine, 40);
    ASSERT_EQ("[" + to_json(tree) + "]", to_json(list({tree}))) << root.name << ", tree " << i;
    past_typed_depth += node_depth(tree) > 60;
  }
  EXPECT_GT(past_typed_depth, 2000);
}

}  // namespace
}  // namespace qc
