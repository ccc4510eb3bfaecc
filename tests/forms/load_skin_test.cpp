#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "forms/form_fixture.h"
#include "posix/modRegistry.h"
#include "qt/frmChangeSkin.h"
#include "qt/modSkins.h"

namespace tikora::testing {
namespace {

constexpr char kImageMissing[] = "Image file not found. Tikora will load the default skin.";

class LoadSkinTest : public FormTest {
  protected:
    LoadSkinTest() {
        frmMain.Get();  // start-up loads the fixture's default skin
        errors_.clear();
    }

    std::string MakeSkin(const std::string& ini, const std::string& stripName = "strip.png") {
        WriteFile(skins_ / "skin/skin.ini", ini);
        WriteStrip(skins_ / ("skin/" + stripName), 8, 11, 4);
        return skins_ / "skin";
    }

    TempFolder skins_;
};

TEST_F(LoadSkinTest, AppliesEveryValueOfAnImageSkin) {
    const std::string folder = MakeSkin(SkinIni("True", "strip.png"));
    ASSERT_TRUE(LoadSkin(folder, "skin.ini"));
    EXPECT_EQ(SkinSettings.CurrentSkinPath, folder);
    EXPECT_EQ(SkinSettings.CurrentSkinFile, "skin.ini");
    EXPECT_TRUE(SkinSettings.DisplayImage);
    EXPECT_EQ(SkinSettings.Separator.Utf8(), ":");
    EXPECT_EQ(SkinSettings.CharWidth, 8);
    EXPECT_EQ(SkinSettings.CharHeight, 11);
    EXPECT_EQ(SkinSettings.SepWidth, 4);
    EXPECT_EQ(frmMain->picSkin.picture.Width(), 92);
    EXPECT_EQ(frmMain->picSkin.picture.Height(), 11);
    EXPECT_EQ(frmMain->picBuffer.ForeColor, Rgb(255, 128, 0));
    EXPECT_EQ(frmMain->picBuffer.BackColor, Rgb(0, 0, 64));
    EXPECT_EQ(frmMain->picBuffer.FontName, "DejaVu Sans");
    EXPECT_FLOAT_EQ(frmMain->picBuffer.FontSize, 8.25f);
    EXPECT_TRUE(errors_.empty());
}

TEST_F(LoadSkinTest, FindsSectionsAndKeysInAnyCaseAndTheStripInASubfolder) {
    std::string ini = SkinIni("true", "art\\strip.png");
    for (const char* name : {"General", "DisplayImage", "Image Info", "CharWidth"}) {
        std::string lower = name;
        for (char& c : lower)
            c = static_cast<char>(std::tolower(c));
        ini.replace(ini.find(name), lower.size(), lower);
    }
    const std::string folder = MakeSkin(ini, "art/strip.png");
    EXPECT_TRUE(LoadSkin(folder + "/", "skin.ini"));  // a trailing separator doubles harmlessly
    EXPECT_EQ(SkinSettings.CharWidth, 8);
}

TEST_F(LoadSkinTest, MissingImageIsReportedOnceAndChangesOnlyTheFirstFields) {
    const std::string before = frmMain->picBuffer.FontName;
    const int stripWidth = frmMain->picSkin.picture.Width();
    SkinSettings.CharWidth = 3;
    std::string ini = SkinIni("True", "nothing.png");
    ini.replace(ini.find("Separator=:"), 11, "Separator=::");
    const std::string folder = MakeSkin(ini);

    EXPECT_FALSE(LoadSkin(folder, "skin.ini"));

    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0].message, kImageMissing);
    EXPECT_EQ(SkinSettings.CurrentSkinPath, folder);
    EXPECT_EQ(SkinSettings.CurrentSkinFile, "skin.ini");
    EXPECT_TRUE(SkinSettings.DisplayImage);
    EXPECT_EQ(SkinSettings.Separator.Utf8(), ":");
    EXPECT_EQ(SkinSettings.CharWidth, 3);
    EXPECT_EQ(frmMain->picSkin.picture.Width(), stripWidth);
    EXPECT_EQ(frmMain->picBuffer.FontName, before);
}

TEST_F(LoadSkinTest, TextSkinWithoutItsImageFailsLikeAnyOther) {
    EXPECT_FALSE(LoadSkin(MakeSkin(SkinIni("False", "gone.png")), "skin.ini"));
    EXPECT_EQ(errors_.size(), 1u);
}

TEST_F(LoadSkinTest, EmptySeparatorLeavesTheNulCharacter) {
    std::string ini = SkinIni("False", "strip.png");
    ini.replace(ini.find("Separator=:"), 11, "Separator=");
    ASSERT_TRUE(LoadSkin(MakeSkin(ini), "skin.ini"));
    EXPECT_EQ(SkinSettings.Separator.Char(), U'\0');
}

struct BrokenSkin {
    const char* name;
    const char* key;    // the line of the valid skin to replace ("" keeps the skin as it is)
    const char* line;   // what stands there instead ("" removes it)
    const char* strip;  // the data file copied over the strip ("" keeps the good strip)
};

class BrokenSkins : public LoadSkinTest, public ::testing::WithParamInterface<BrokenSkin> {};

TEST_P(BrokenSkins, FailQuietlyAndLeaveTheLookAlone) {
    const BrokenSkin& c = GetParam();
    std::string ini = SkinIni("True", "strip.png");
    if (*c.key != '\0') {
        const std::size_t at = ini.find(std::string(c.key) + "=");
        ASSERT_NE(at, std::string::npos);
        ini.replace(at, ini.find('\n', at) - at, c.line);
    }
    const std::string folder = MakeSkin(ini);
    if (*c.strip != '\0') {
        std::filesystem::copy_file(std::string(TIKORA_TEST_DATA) + "/pictures/" + c.strip,
                                   folder + "/strip.png",
                                   std::filesystem::copy_options::overwrite_existing);
    }
    const int stripWidth = frmMain->picSkin.picture.Width();
    const std::uint32_t foreColor = frmMain->picBuffer.ForeColor;

    EXPECT_FALSE(LoadSkin(folder, "skin.ini"));

    EXPECT_TRUE(errors_.empty());
    EXPECT_EQ(frmMain->picSkin.picture.Width(), stripWidth);
    EXPECT_EQ(frmMain->picBuffer.ForeColor, foreColor);
}

INSTANTIATE_TEST_SUITE_P(
    Values, BrokenSkins,
    ::testing::Values(BrokenSkin{"BooleanNotAWord", "DisplayImage", "DisplayImage=maybe", ""},
                      BrokenSkin{"MissingKey", "CharHeight", "", ""},
                      BrokenSkin{"SizeNotANumber", "CharWidth", "CharWidth=eight", ""},
                      BrokenSkin{"InfiniteSize", "CharWidth", "CharWidth=inf", ""},
                      BrokenSkin{"AbsurdFontSize", "FontSize", "FontSize=5000", ""},
                      BrokenSkin{"ColourOfTwoPieces", "TextColor", "TextColor=1,2", ""},
                      BrokenSkin{"ColourPieceOutOfRange", "BgColor", "BgColor=0,40000,0", ""},
                      BrokenSkin{"ColourPieceNotANumber", "BgColor", "BgColor=0,green,0", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoadSkinTest, MissingSkinFileFailsQuietly) {
    EXPECT_FALSE(LoadSkin(skins_ / "nowhere", "skin.ini"));
    EXPECT_TRUE(errors_.empty());
}

// The gallery of broken skins in tests/data/broken-skins (README.md there says what each one is).
// A broken skin is refused, says why, and changes nothing but the current skin's location (and
// DisplayImage and Separator, when those could be read); at start-up and in the skin chooser the
// default skin then takes its place.

// Parts that are made here rather than committed.
void TenMegabyteSkinFile(const std::string& folder) {
    std::ofstream ini(folder + "/skin.ini", std::ios::binary | std::ios::app);
    const std::string line = "; " + std::string(97, 'x') + "\n";
    for (int i = 0; i < 100000; ++i) {
        ini << line;
    }
}

// Just under the size a skin file may have: every value the load reads parses all of them.
void HundredThousandSections(const std::string& folder) {
    std::string text;
    for (int i = 0; i < 100000; ++i) {
        text += "[" + std::to_string(i) + "]\n";
    }
    std::string skin = SkinIni("True", "strip.png");
    skin.replace(skin.find("FontSize=8.25"), 13, "FontSize=5000");
    WriteFile(folder + "/skin.ini", text + skin);
}

void MainIsAFolder(const std::string& folder) {
    std::filesystem::create_directory(folder + "/strip.png");
}

void MainIsAFifo(const std::string& folder) {
    ASSERT_EQ(mkfifo((folder + "/strip.png").c_str(), 0600), 0);
}

constexpr char kImageNotFound[] = "Image file not found. Tikora will load the default skin.";

struct GalleryCase {
    const char* folder;
    void (*make)(const std::string& folder);  // null: the skin as committed
    const char* namedFile;                    // the file that begins the reason ("" for none)
    const char* reason;
    bool readsGeneral;  // DisplayImage and Separator were read before the load failed
    bool showsBox;      // the one message box a failed load may show
};

// Gives up instead of hanging for good, should a load ever block (a FIFO, say).
class Watchdog {
  public:
    explicit Watchdog(unsigned seconds) { alarm(seconds); }
    ~Watchdog() { alarm(0); }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
};

class SkinGallery : public FormTest, public ::testing::WithParamInterface<GalleryCase> {
  protected:
    SkinGallery() {
        const GalleryCase& c = GetParam();
        std::filesystem::copy(std::string(TIKORA_TEST_DATA) + "/broken-skins/" + c.folder, folder_,
                              std::filesystem::copy_options::recursive);
        if (c.make != nullptr) {
            c.make(folder_);
        }
    }

    std::string Reason() const {
        const GalleryCase& c = GetParam();
        return *c.namedFile == '\0' ? c.reason : folder_ + "/" + c.namedFile + ": " + c.reason;
    }
    std::size_t Boxes() const { return GetParam().showsBox ? 1 : 0; }

    TempFolder copy_;
    const std::string folder_ = copy_ / "skin";
    Watchdog watchdog_{60};
};

TEST_P(SkinGallery, LoadIsRefusedAndSaysWhy) {
    ClockWindow& clock = frmMain.Get();
    errors_.clear();
    const int stripWidth = clock.picSkin.picture.Width();
    const std::uint32_t foreColor = clock.picBuffer.ForeColor;
    const std::string font = clock.picBuffer.FontName;
    const float charWidth = SkinSettings.CharWidth;
    const float fontSize = clock.picBuffer.FontSize;
    SkinSettings.DisplayImage = false;
    SkinSettings.Separator = "#";

    std::string whyNot;
    EXPECT_FALSE(LoadSkinInto(clock, folder_, "skin.ini", &whyNot));

    EXPECT_EQ(whyNot, Reason());
    ASSERT_EQ(errors_.size(), Boxes());
    if (GetParam().showsBox) {
        EXPECT_EQ(errors_[0].message, kImageNotFound);
    }
    EXPECT_EQ(SkinSettings.CurrentSkinPath, folder_);
    EXPECT_EQ(SkinSettings.CurrentSkinFile, "skin.ini");
    EXPECT_EQ(bool(SkinSettings.DisplayImage), GetParam().readsGeneral);
    EXPECT_EQ(SkinSettings.Separator.Utf8(), GetParam().readsGeneral ? ":" : "#");
    EXPECT_EQ(clock.picSkin.picture.Width(), stripWidth);
    EXPECT_EQ(clock.picBuffer.ForeColor, foreColor);
    EXPECT_EQ(clock.picBuffer.FontName, font);
    EXPECT_EQ(SkinSettings.CharWidth, charWidth);
    EXPECT_EQ(clock.picBuffer.FontSize, fontSize);
    clock.tmrClock_Timer();  // and the clock still ticks with what it had
}

TEST_P(SkinGallery, AtStartUpTheDefaultSkinTakesItsPlace) {
    const std::string key = "Software\\Vardo Software\\Tikora";
    WriteRegString(kCurrentUser, key, "ProgramPath", programFolder_);
    WriteRegString(kCurrentUser, key + "\\Skins", "CurrentSkinPath", folder_);
    WriteRegString(kCurrentUser, key + "\\Skins", "CurrentSkinFile", "skin.ini");

    frmMain.Get();

    EXPECT_EQ(errors_.size(), Boxes());
    EXPECT_EQ(SkinSettings.CurrentSkinPath, DefaultSkinFolder());
    EXPECT_EQ(SkinSettings.CurrentSkinFile, "Zefro.ini");
    EXPECT_FALSE(SkinSettings.DisplayImage);  // the fixture's default skin shows text
    EXPECT_EQ(frmMain->picBuffer.FontSize, 8.25f);
    EXPECT_TRUE(frmMain->tmrClock.isActive());
}

TEST_P(SkinGallery, InTheChooserTheDefaultSkinTakesItsPlace) {
    frmMain.Get();
    errors_.clear();
    ChangeSkinWindow& chooser = frmChangeSkin.Get();
    ASSERT_TRUE(chooser.SetFolderPath(folder_));
    const QList<QListWidgetItem*> found =
        chooser.filePrincipal.findItems(QStringLiteral("skin.ini"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    found.front()->setSelected(true);

    chooser.cmdChange.click();

    EXPECT_EQ(frmChangeSkin.Loaded(), nullptr);
    EXPECT_EQ(errors_.size(), Boxes());
    EXPECT_EQ(SkinSettings.CurrentSkinPath, DefaultSkinFolder());
    EXPECT_EQ(SkinSettings.CurrentSkinFile, "Zefro.ini");
    EXPECT_FALSE(SkinSettings.DisplayImage);
}

constexpr char kNotAPicture[] = "the file is not a readable picture";

INSTANTIATE_TEST_SUITE_P(
    Broken, SkinGallery,
    ::testing::Values(
        GalleryCase{"truncated-bmp", nullptr, "strip.bmp", kNotAPicture, true, false},
        // The decoder refuses the header itself: no side may pass 16384.
        GalleryCase{"png-claims-100000x100000", nullptr, "strip.png", kNotAPicture, true, false},
        GalleryCase{"zero-size-image", nullptr, "strip.png", kNotAPicture, true, false},
        GalleryCase{"image-is-text", nullptr, "strip.png", kNotAPicture, true, false},
        GalleryCase{"char-width-1e30", nullptr, "", "CharWidth is not a size from 0 to 4096", true,
                    false},
        GalleryCase{"nan-size", nullptr, "", "CharHeight is not a size from 0 to 4096", true,
                    false},
        GalleryCase{"negative-sizes", nullptr, "", "SepWidth is not a size from 0 to 4096", true,
                    false},
        GalleryCase{"ini-10-mb", TenMegabyteSkinFile, "skin.ini",
                    "no such skin file, or not a readable one", false, false},
        GalleryCase{"ini-100000-sections", HundredThousandSections, "",
                    "FontSize is not a size from 0 to 4096", true, false},
        GalleryCase{"main-names-a-folder", MainIsAFolder, "", kImageNotFound, true, true},
        GalleryCase{"main-names-a-fifo", MainIsAFifo, "", kImageNotFound, true, true},
        GalleryCase{"binary-garbage", nullptr, "", "DisplayImage is not True or False", false,
                    false}),
    [](const auto& info) {
        std::string name = info.param.folder;
        std::erase(name, '-');
        return name;
    });

}  // namespace
}  // namespace tikora::testing
