// The scroll message and the credit lines keep to the rules of the scroller
// and of the closing credits.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "scene/scroll_message.h"

namespace {

TEST(ScrollMessage, Has545CharactersOfTheScrollersGlyphSetAfterSevenSpaces) {
    const std::string message = kScrollMessage;
    ASSERT_EQ(message.size(), 545u);
    EXPECT_EQ(message.substr(0, 7), "       ");
    EXPECT_NE(message[7], ' ');
    for (size_t i = 0; i < message.size(); ++i) {
        const char c = message[i];
        const bool allowed = (c >= 'a' && c <= 'z') || std::strchr(" .-!()", c) != nullptr;
        EXPECT_TRUE(allowed) << "character " << i << " is '" << c << "'";
    }
}

TEST(CreditLines, NameTheAuthorsWithAddressesUnderExampleOrg) {
    const std::string code = kCodeCreditLine;
    EXPECT_EQ(code.rfind("Code:    Vak (", 0), 0u);
    EXPECT_EQ(code.substr(code.size() - 2), ")\n");
    EXPECT_NE(code.find("@example.org)"), std::string::npos);

    const std::string sound = kSoundCreditLine;
    const std::string ending = ")\n\nSave the cowees\n";
    EXPECT_EQ(sound.rfind("Sound:   Orlim (", 0), 0u);
    ASSERT_GT(sound.size(), ending.size());
    EXPECT_EQ(sound.substr(sound.size() - ending.size()), ending);
    EXPECT_NE(sound.find("example.org"), std::string::npos);
    EXPECT_EQ(sound.find('@'), std::string::npos);  // a web address, not a mail address
}

}  // namespace
