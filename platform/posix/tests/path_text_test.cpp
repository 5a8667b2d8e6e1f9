#include "platform/posix/path_text.h"

#include <gtest/gtest.h>

namespace orvane::posix {
namespace {

struct PathCase {
  std::u16string path;
  std::u16string expected;
};

TEST(PathText, ParentFolderTable) {
  const PathCase cases[] = {
      {u"/a/b.txt", u"/a"},   {u"/a", u"/"},      {u"a/b/", u"a"},  {u"a/b", u"a"},
      {u"a//b", u"a"},        {u"//a", u"/"},     {u"a", u""},      {u"a/", u""},
      {u"/", u""},            {u"//", u""},       {u"", u""},       {u"./a", u"."},
      {u"/x/y/z/", u"/x/y"},  {u"\u8CC7/\u6599", u"\u8CC7"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(ParentFolderOf<char16_t>(cases[i].path), cases[i].expected) << "case " << i;
  }
  EXPECT_EQ(ParentFolderOf<char>("/usr/lib/x.so"), "/usr/lib");
}

struct NameCase {
  std::string path;
  std::string name;
};

TEST(PathText, LastNameTable) {
  const NameCase cases[] = {
      {"/a/b.txt", "b.txt"}, {"a/b/", "b"}, {"b", "b"}, {"/", ""}, {"", ""}, {"a//", "a"},
  };
  for (const auto& c : cases) EXPECT_EQ(LastNameOf(c.path), c.name) << c.path;
}

TEST(PathText, TrailingSeparators) {
  EXPECT_EQ(WithoutTrailingSeparators("/a/b//"), "/a/b");
  EXPECT_EQ(WithoutTrailingSeparators("/"), "/");
  EXPECT_EQ(WithoutTrailingSeparators("///"), "/");
  EXPECT_EQ(WithoutTrailingSeparators(""), "");
  EXPECT_TRUE(EndsWithSeparator("a/"));
  EXPECT_FALSE(EndsWithSeparator("a"));
  EXPECT_FALSE(EndsWithSeparator(""));
}

}  // namespace
}  // namespace orvane::posix
