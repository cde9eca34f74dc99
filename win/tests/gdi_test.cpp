// The GDI scopes put a DC back as they found it, once, by whoever ends last.
#include "win/gdi.h"

#include <gtest/gtest.h>

namespace orvalis::win {
namespace {

TEST(GdiScopes, SelectionsAndSavedStatesAreUndoneAtTheEnd) {
  unique_hdc dc;
  unique_hbitmap bitmap;
  {
    window_dc screen(nullptr);
    ASSERT_TRUE(screen);
    dc.reset(::CreateCompatibleDC(screen.get()));
    bitmap.reset(::CreateCompatibleBitmap(screen.get(), 4, 4));
  }
  ASSERT_TRUE(dc && bitmap);
  HGDIOBJ original = ::GetCurrentObject(dc.get(), OBJ_BITMAP);
  {
    selected_object kept;
    {
      selected_object chosen(dc.get(), bitmap.get());
      EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
      kept = std::move(chosen);
    }
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get()) << "the moved-from selection undoes nothing";
  }
  EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), original);

  {
    saved_dc saved(dc.get());
    EXPECT_TRUE(saved);
    ::SetViewportOrgEx(dc.get(), 5, 6, nullptr);
  }
  POINT origin{-1, -1};
  ::GetViewportOrgEx(dc.get(), &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
}

}  // namespace
}  // namespace orvalis::win
