// Profile (ini) files read and written through the Win32 functions, and GetLocalTime.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "platform/win32.h"
#include "support/platform_fixture.h"

namespace hotaru_test {
namespace {

constexpr const char* kIni = "hotaru.ini";
// "蛍" in UTF-8 (as the program names its section) and in Shift-JIS (as old files spell it).
constexpr const char* kHotaru = "\xE8\x9B\x8D";
constexpr const char* kHotaruSjis = "\x8C\x75";

class ProfileTest : public PlatformTest {
 protected:
  std::string Get(const char* section, const char* key, const char* default_value = nullptr,
                  const char* file = kIni) {
    char out[256];
    const DWORD n = GetPrivateProfileStringA(section, key, default_value, out, sizeof out, file);
    return std::string(out, n);
  }
  BOOL Put(const char* section, const char* key, const char* value, const char* file = kIni) {
    return WritePrivateProfileStringA(section, key, value, file);
  }
  // Every line of `lines` joined with `eol`, the last one terminated too.
  static std::string Lines(const std::vector<std::string>& lines, const std::string& eol) {
    std::string text;
    for (const auto& line : lines) text += line + eol;
    return text;
  }
};

TEST_F(ProfileTest, ReadsValuesAsWindowsDoes) {
  WriteText(ini_path(),
            "; settings\r\n"
            "Stray=before any section\r\n"
            "[Sound]\r\n"
            "  Volume =  80  \r\n"
            "; Hidden=1\r\n"
            "NotAKey\r\n"
            "Quoted=\"  padded  \"\r\n"
            "Single='x'\r\n"
            "Unbalanced=\"a'\r\n"
            "Inner=a \"b\" c\r\n"
            "Empty=\r\n"
            "Dup=first\r\n"
            "dup=second\r\n"
            "[  Spaced Name  ]\r\n"
            "k=v\r\n"
            "[SOUND]\r\n"
            "Volume=99\r\n"
            "Late=only in the second one\r\n");
  struct Case {
    const char* section;
    const char* key;
    const char* default_value;
    const char* expected;
  };
  const Case cases[] = {
      {"Sound", "Volume", nullptr, "80"},
      {"sOUND", "VOLUME", nullptr, "80"},  // case-insensitive, first section wins
      {"Sound", "Quoted", nullptr, "  padded  "},
      {"Sound", "Single", nullptr, "x"},
      {"Sound", "Unbalanced", nullptr, "\"a'"},
      {"Sound", "Inner", nullptr, "a \"b\" c"},
      {"Sound", "Empty", "default", ""},  // present but empty is not missing
      {"Sound", "DUP", nullptr, "first"},
      {"Sound", "; Hidden", "-", "-"},
      {"Sound", "Hidden", "-", "-"},
      {"Sound", "NotAKey", "-", "-"},
      {"Sound", "Late", "-", "-"},  // only the first matching section counts
      {"Sound", "Stray", "-", "-"},
      {"spaced name", "K", nullptr, "v"},
      {"Sound", "Missing", "fallback  \t ", "fallback"},
      {"Sound", "Missing", "  kept", "  kept"},
      {"Sound", "Missing", nullptr, ""},
      {"Nowhere", "Volume", "d", "d"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + c.key);
    EXPECT_EQ(Get(c.section, c.key, c.default_value), c.expected);
  }
}

TEST_F(ProfileTest, MissingFileGivesDefault) {
  EXPECT_EQ(Get("Sound", "Volume", "7 "), "7");
  EXPECT_EQ(Get("Sound", "Volume", "7", (dir() / "none" / "x.ini").c_str()), "7");
  EXPECT_FALSE(std::filesystem::exists(ini_path()));
}

TEST_F(ProfileTest, CopiesAtMostSizeMinusOneBytes) {
  WriteText(ini_path(), "[s]\nk=abcdef\n");
  char out[8];
  std::memset(out, 'X', sizeof out);
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "", out, 4, kIni), 3u);
  EXPECT_STREQ(out, "abc");
  EXPECT_EQ(out[4], 'X');
  EXPECT_EQ(GetPrivateProfileStringA("s", "missing", "defaults", out, 5, kIni), 4u);
  EXPECT_STREQ(out, "defa");
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "", out, 1, kIni), 0u);
  EXPECT_EQ(out[0], '\0');
  out[0] = 'X';
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "", out, 0, kIni), 0u);
  EXPECT_EQ(out[0], 'X');
}

TEST_F(ProfileTest, NullKeyListsKeysAndNullSectionListsSections) {
  WriteText(ini_path(), "[One]\na=1\n; c=3\nb=2\nA=again\n[Two]\nc=3\n[one]\nz=0\n");
  char out[64];
  DWORD n = GetPrivateProfileStringA("one", nullptr, "ignored", out, sizeof out, kIni);
  EXPECT_EQ(std::string(out, n + 1), std::string("a\0b\0\0", 5));
  n = GetPrivateProfileStringA(nullptr, nullptr, "ignored", out, sizeof out, kIni);
  EXPECT_EQ(std::string(out, n + 1), std::string("One\0Two\0\0", 9));
  // Too small: the last name is cut and still followed by two NULs.
  n = GetPrivateProfileStringA(nullptr, "ignored", nullptr, out, 7, kIni);
  EXPECT_EQ(n, 5u);
  EXPECT_EQ(std::string(out, 7), std::string("One\0T\0\0", 7));
  n = GetPrivateProfileStringA("Nowhere", nullptr, "ignored", out, sizeof out, kIni);
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(out[0], '\0');
}

// One file used for the write tests, with a line that the write replaces, in both styles.
const std::vector<std::string> kWriteTemplate = {
    "; top comment",      "",           "[Other]",
    "Volume=1",           "[Sound]",    "; note about the volume",
    "  VOLUME = 80   ",   "Mode=\"a\"", "",
    "; trailing comment", "[Last]",     "x=y",
};

TEST_F(ProfileTest, WriteReplacesValueInPlaceKeepingEveryOtherByte) {
  for (const std::string eol : {"\r\n", "\n"}) {
    SCOPED_TRACE(eol == "\n" ? "LF" : "CRLF");
    WriteText(ini_path(), Lines(kWriteTemplate, eol));
    ASSERT_TRUE(Put("sound", "volume", "55"));
    auto expected = kWriteTemplate;
    expected[6] = "VOLUME=55";
    EXPECT_EQ(ReadText(ini_path()), Lines(expected, eol));
    EXPECT_EQ(Get("Sound", "Volume"), "55");
    EXPECT_EQ(Get("Other", "Volume"), "1");
  }
}

TEST_F(ProfileTest, WriteAddsMissingKeyAfterLastKeyOfItsSection) {
  for (const std::string eol : {"\r\n", "\n"}) {
    SCOPED_TRACE(eol == "\n" ? "LF" : "CRLF");
    WriteText(ini_path(), Lines(kWriteTemplate, eol));
    ASSERT_TRUE(Put("Sound", "Music", "1"));
    auto expected = kWriteTemplate;
    expected.insert(expected.begin() + 8, "Music=1");
    EXPECT_EQ(ReadText(ini_path()), Lines(expected, eol));
  }
}

TEST_F(ProfileTest, WriteAddsKeyRightAfterHeaderOfSectionWithoutKeys) {
  WriteText(ini_path(), "[Empty]\n\n; nothing yet\n[Next]\nk=v\n");
  ASSERT_TRUE(Put("empty", "a", "b"));
  EXPECT_EQ(ReadText(ini_path()), "[Empty]\na=b\n\n; nothing yet\n[Next]\nk=v\n");
}

TEST_F(ProfileTest, WriteAppendsMissingSection) {
  WriteText(ini_path(), Lines(kWriteTemplate, "\n"));
  ASSERT_TRUE(Put("Fresh", "k", "v"));
  EXPECT_EQ(ReadText(ini_path()), Lines(kWriteTemplate, "\n") + "[Fresh]\nk=v\n");

  // A last line without its line ending gets one before the new lines.
  WriteText(ini_path(), "[A]\r\na=1");
  ASSERT_TRUE(Put("A", "b", "2"));
  ASSERT_TRUE(Put("B", "c", "3"));
  EXPECT_EQ(ReadText(ini_path()), "[A]\r\na=1\r\nb=2\r\n[B]\r\nc=3\r\n");
}

TEST_F(ProfileTest, WriteCreatesMissingFileWithCrlf) {
  ASSERT_TRUE(Put(kHotaru, "Music", "1"));
  EXPECT_EQ(ReadText(ini_path()), std::string("[") + kHotaru + "]\r\nMusic=1\r\n");
  EXPECT_EQ(Get(kHotaru, "music"), "1");

  // A path with a folder, written with `\`, gets its folders created.
  std::string path = (dir() / "saves" / "deep" / "other.ini").string();
  std::replace(path.begin(), path.end(), '/', '\\');
  ASSERT_TRUE(Put("s", "k", "v", path.c_str()));
  EXPECT_EQ(ReadText(dir() / "saves" / "deep" / "other.ini"), "[s]\r\nk=v\r\n");
  EXPECT_EQ(Get("s", "k", nullptr, path.c_str()), "v");
}

TEST_F(ProfileTest, WriteLeavesNoTemporaryFileBehind) {
  WriteText(ini_path(), Lines(kWriteTemplate, "\r\n"));
  ASSERT_TRUE(Put("Sound", "Volume", "3"));
  ASSERT_TRUE(Put("New", "k", "v"));
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir())) {
    names.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(names, std::vector<std::string>{"hotaru.ini"});
}

TEST_F(ProfileTest, WriteFailsWhenFolderCannotBeCreated) {
  WriteText(dir() / "plain", "a file, not a folder");
  EXPECT_FALSE(Put("s", "k", "v", (dir() / "plain" / "x.ini").c_str()));
}

TEST_F(ProfileTest, AnIniThatIsAFolderReadsAsEmptyAndIsNeverReplaced) {
  std::filesystem::create_directory(ini_path());
  EXPECT_EQ(Get("s", "k", "default"), "default");
  EXPECT_NE(platform::ProfileReadProblem(kIni).find("is a folder"), std::string::npos);
  EXPECT_FALSE(Put("s", "k", "v"));
  EXPECT_TRUE(std::filesystem::is_directory(ini_path()));
}

TEST_F(ProfileTest, ALinkedIniStaysALinkAndItsTargetTakesTheWrite) {
  WriteText(dir() / "shared.ini", "[s]\r\nk=old\r\n");
  std::filesystem::create_symlink("shared.ini", ini_path());
  EXPECT_EQ(platform::ProfileReadProblem(kIni), "");
  ASSERT_TRUE(Put("s", "k", "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(ini_path()));
  EXPECT_EQ(ReadText(dir() / "shared.ini"), "[s]\r\nk=new\r\n");
}

TEST_F(ProfileTest, SeveralKeysAreWrittenInOneReplacementAndReadBackAtOnce) {
  WriteText(ini_path(), "[s]\r\na=1\r\n");
  const platform::ProfileEntry entries[] = {{"a", "2"}, {"b", "3"}, {"c", nullptr}};
  EXPECT_EQ(platform::WriteProfileStrings("s", entries, kIni), "");
  EXPECT_EQ(ReadText(ini_path()), "[s]\r\na=2\r\nb=3\r\n");
  // A change of the file between two reads is seen, even at the same size.
  EXPECT_EQ(Get("s", "a"), "2");
  WriteText(ini_path(), "[s]\r\na=4\r\nb=5\r\n");
  EXPECT_EQ(Get("s", "a"), "4");
  // A write that cannot be done says why.
  std::filesystem::remove(ini_path());
  std::filesystem::create_symlink("/dev/full", ini_path());
  EXPECT_NE(platform::WriteProfileStrings("s", entries, kIni), "");
}

TEST_F(ProfileTest, ANewSectionTakesEveryKeyOfTheWriteThatAddsIt) {
  // Each write starts from an empty file: the first adds the section, the rest of its keys
  // must find it (once they each added a copy of their own, and the reader saw only one key).
  const platform::ProfileEntry entries[] = {
      {"Music", "OFF"}, {"Pcm", "OFF"}, {"Skip", "ON"}, {"Mmv", "OFF"}, {"Low", "ON"}};
  WriteText(ini_path(), "");
  ASSERT_EQ(platform::WriteProfileStrings(kHotaru, entries, kIni), "");
  EXPECT_EQ(
      ReadText(ini_path()),
      std::string("[") + kHotaru + "]\r\nMusic=OFF\r\nPcm=OFF\r\nSkip=ON\r\nMmv=OFF\r\nLow=ON\r\n");
  for (const auto& entry : entries) EXPECT_EQ(Get(kHotaru, entry.key), entry.value) << entry.key;
}

TEST_F(ProfileTest, AWriteFoldsLaterCopiesOfItsSectionIntoTheFirst) {
  struct Case {
    const char* what;
    std::string before;
    std::string after;
  } const cases[] = {
      {"a stale key in the second copy goes, a key only it holds moves up",
       "[hotaru]\nScaling=whole\n[Other]\nk=v\n[hotaru]\nScaling=fit\nFilter=smooth\n",
       "[hotaru]\nScaling=stretch\nFilter=smooth\n[Other]\nk=v\n"},
      {"one key per copy, as the dialog once wrote them",
       "[hotaru]\na=1\n[hotaru]\nb=2\n[HOTARU]\nc=3\n",
       "[hotaru]\na=1\nb=2\nc=3\nScaling=stretch\n"},
      {"a single section is left as it is", "[hotaru]\nFilter=nearest\n",
       "[hotaru]\nFilter=nearest\nScaling=stretch\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteText(ini_path(), c.before);
    ASSERT_TRUE(Put("hotaru", "Scaling", "stretch"));
    EXPECT_EQ(ReadText(ini_path()), c.after);
  }
  // A write of another section leaves the copies alone.
  WriteText(ini_path(), "[hotaru]\na=1\n[hotaru]\nb=2\n");
  ASSERT_TRUE(Put("Other", "k", "v"));
  EXPECT_EQ(ReadText(ini_path()), "[hotaru]\na=1\n[hotaru]\nb=2\n[Other]\nk=v\n");
}

TEST_F(ProfileTest, NullValueDeletesKeyAndNullKeyDeletesSection) {
  WriteText(ini_path(), Lines(kWriteTemplate, "\r\n"));
  ASSERT_TRUE(Put("SOUND", "mode", nullptr));
  auto expected = kWriteTemplate;
  expected.erase(expected.begin() + 7);
  EXPECT_EQ(ReadText(ini_path()), Lines(expected, "\r\n"));
  EXPECT_EQ(Get("Sound", "Mode", "gone"), "gone");

  // Deleting what is not there changes nothing.
  EXPECT_TRUE(Put("Sound", "Mode", nullptr));
  EXPECT_TRUE(Put("Nowhere", nullptr, nullptr));
  EXPECT_EQ(ReadText(ini_path()), Lines(expected, "\r\n"));

  // The whole section goes, up to the next header.
  ASSERT_TRUE(Put("sound", nullptr, nullptr));
  EXPECT_EQ(ReadText(ini_path()),
            Lines({"; top comment", "", "[Other]", "Volume=1", "[Last]", "x=y"}, "\r\n"));
}

TEST_F(ProfileTest, Utf8SectionFindsShiftJisSpelling) {
  const std::string sjis_header = std::string("[") + kHotaruSjis + "]";
  WriteText(ini_path(), sjis_header + "\r\nDataDir=C:\\HOTARU\r\nMusic=0\r\n");
  EXPECT_EQ(Get(kHotaru, "DataDir"), "C:\\HOTARU");
  EXPECT_EQ(Get(kHotaru, "Music"), "0");

  ASSERT_TRUE(Put(kHotaru, "Music", "1"));
  ASSERT_TRUE(Put(kHotaru, "Skip", "0"));
  EXPECT_EQ(ReadText(ini_path()), sjis_header + "\r\nDataDir=C:\\HOTARU\r\nMusic=1\r\nSkip=0\r\n");
}

TEST_F(ProfileTest, ShiftJisSpellingIsOnlyAFallback) {
  // The UTF-8 spelling wins wherever it is; the trail byte 0x75 ('u') never folds to 'U'.
  WriteText(ini_path(), std::string("[\x8C\x55]\nMusic=2\n[") + kHotaruSjis + "]\nMusic=0\n[" +
                            kHotaru + "]\nMusic=1\n");
  EXPECT_EQ(Get(kHotaru, "Music"), "1");
  WriteText(ini_path(), "[\x8C\x55]\nMusic=2\n");
  EXPECT_EQ(Get(kHotaru, "Music", "none"), "none");
}

TEST_F(ProfileTest, ReadsFileSavedWithByteOrderMark) {
  // Windows editors put a UTF-8 byte order mark before the first line; it stays on writing.
  const std::string bom = "\xEF\xBB\xBF";
  WriteText(ini_path(), bom + "[" + kHotaru + "]\r\nMusic=0\r\n");
  EXPECT_EQ(Get(kHotaru, "Music"), "0");
  ASSERT_TRUE(Put(kHotaru, "Music", "1"));
  EXPECT_EQ(ReadText(ini_path()), bom + "[" + kHotaru + "]\r\nMusic=1\r\n");
}

// GetLocalTime follows the local zone, not UTC, on a backend that keeps real time.
TEST(LocalTimeTest, FollowsTimeZone) {
  platform::headless::Options options;
  options.realtime = true;
  platform::headless::HeadlessBackend realtime(options);
  platform::SetBackend(&realtime);
  const char* old = std::getenv("TZ");
  const std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
  ::setenv("TZ", "UTC-9", 1);  // nine hours east of UTC, no daylight saving
  SYSTEMTIME local{};
  std::time_t before = 0;
  std::time_t after = 0;
  // The seconds of the clock GetLocalTime reads: std::time may run on a coarser clock that
  // lags it by a few milliseconds around a second's edge. Retry if the second changed.
  const auto realtime_seconds = [] {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec;
  };
  do {
    before = realtime_seconds();
    GetLocalTime(&local);
    after = realtime_seconds();
  } while (before != after);
  if (saved) {
    ::setenv("TZ", saved->c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();

  const std::time_t shifted = before + 9 * 3600;
  std::tm expected{};
  ::gmtime_r(&shifted, &expected);
  EXPECT_EQ(local.wYear, expected.tm_year + 1900);
  EXPECT_EQ(local.wMonth, expected.tm_mon + 1);
  EXPECT_EQ(local.wDay, expected.tm_mday);
  EXPECT_EQ(local.wDayOfWeek, expected.tm_wday);
  EXPECT_EQ(local.wHour, expected.tm_hour);
  EXPECT_EQ(local.wMinute, expected.tm_min);
  EXPECT_EQ(local.wSecond, expected.tm_sec);
  EXPECT_LT(local.wMilliseconds, 1000);
  platform::SetBackend(nullptr);
}

// The headless clock's date is fixed and moves with the virtual clock, so runs repeat.
TEST_F(ProfileTest, HeadlessLocalTimeFollowsTheVirtualClock) {
  backend().AdvanceClock(61500);
  SYSTEMTIME t{};
  GetLocalTime(&t);
  EXPECT_EQ(t.wYear, 1998);
  EXPECT_EQ(t.wMonth, 7);
  EXPECT_EQ(t.wDay, 9);
  EXPECT_EQ(t.wDayOfWeek, 4);
  EXPECT_EQ(t.wHour, 19);
  EXPECT_EQ(t.wMinute, 1);
  EXPECT_EQ(t.wSecond, 1);
  EXPECT_EQ(t.wMilliseconds, 500);
}

}  // namespace
}  // namespace hotaru_test
