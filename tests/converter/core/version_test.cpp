#include "converter/core/version.h"

#include <gtest/gtest.h>

#include <string>

TEST(Version, LinkTextNamesProgramAndVersion) {
  EXPECT_EQ(std::string(quenlite::VersionText()), "Quenlite 0.43");
}
