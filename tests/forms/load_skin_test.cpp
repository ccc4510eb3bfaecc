#include "forms/form_fixture.h"
#include "skins/modSkins.h"

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
                      BrokenSkin{"NegativeSize", "SepWidth", "SepWidth=-1", ""},
                      BrokenSkin{"AbsurdSize", "CharWidth", "CharWidth=1e30", ""},
                      BrokenSkin{"NotANumberSize", "CharHeight", "CharHeight=nan", ""},
                      BrokenSkin{"InfiniteSize", "CharWidth", "CharWidth=inf", ""},
                      BrokenSkin{"AbsurdFontSize", "FontSize", "FontSize=5000", ""},
                      BrokenSkin{"ColourOfTwoPieces", "TextColor", "TextColor=1,2", ""},
                      BrokenSkin{"ColourPieceOutOfRange", "BgColor", "BgColor=0,40000,0", ""},
                      BrokenSkin{"ColourPieceNotANumber", "BgColor", "BgColor=0,green,0", ""},
                      BrokenSkin{"ImageIsText", "", "", "text-file.png"},
                      BrokenSkin{"ImageTruncated", "", "", "truncated.bmp"},
                      BrokenSkin{"ImageClaimsHugeSize", "", "", "claims-100000x100000.png"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoadSkinTest, MissingSkinFileFailsQuietly) {
    EXPECT_FALSE(LoadSkin(skins_ / "nowhere", "skin.ini"));
    EXPECT_TRUE(errors_.empty());
}

}  // namespace
}  // namespace tikora::testing
