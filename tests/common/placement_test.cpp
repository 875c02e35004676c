#include "common/placement.h"

#include <gtest/gtest.h>

using common::PlaceDialog;
using common::Rect;
using common::RememberedPlace;
using common::RememberPlace;

TEST(PlaceDialog, FirstOpeningCentresOnOwnerThenRemembers) {
  RememberedPlace place;
  ASSERT_FALSE(place.placed());
  const Rect owner{100, 100, 900, 700};
  const Rect dialog{0, 0, 200, 100};
  const common::Point first = PlaceDialog(place, dialog, owner);
  EXPECT_EQ(first.x, 400);
  EXPECT_EQ(first.y, 350);

  // Moved by the user and closed with a button: reopens there, wherever the owner went.
  RememberPlace(Rect{10, 20, 210, 120}, place);
  const common::Point second = PlaceDialog(place, dialog, Rect{500, 500, 1500, 1300});
  EXPECT_EQ(second.x, 10);
  EXPECT_EQ(second.y, 20);

  // Closed without RememberPlace: the last remembered place holds.
  const common::Point third = PlaceDialog(place, Rect{300, 300, 500, 400}, owner);
  EXPECT_EQ(third.x, 10);
  EXPECT_EQ(third.y, 20);
}

TEST(PlaceDialog, IntegerDivisionTruncatesEachHalf) {
  RememberedPlace place;
  // Owner centre (0 + 101) / 2 = 50, dialog half width 51 / 2 = 25.
  const common::Point p = PlaceDialog(place, Rect{0, 0, 51, 31}, Rect{0, 0, 101, 61});
  EXPECT_EQ(p.x, 25);
  EXPECT_EQ(p.y, 15);
}
