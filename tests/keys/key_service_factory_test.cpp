// What the user is told when no way of sending keys works (no /dev/uinput here, no display).

#include "services/keys/key_service_factory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

namespace vantrel {
namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class KeyServiceFactory : public ::testing::Test {
  protected:
    void SetUp() override {
        unsetenv("DISPLAY");
        unsetenv("VANTREL_KEY_BACKEND");
    }
};

TEST_F(KeyServiceFactory, NeitherBackendWorks) {
    if (access("/dev/uinput", W_OK) == 0) GTEST_SKIP() << "this machine can write /dev/uinput";
    std::string message;
    EXPECT_EQ(CreateKeyService(message), nullptr);
    EXPECT_EQ(message.rfind("Vantrel cannot send keys:\n", 0), 0u) << message;
    EXPECT_TRUE(Contains(message, "- uinput virtual keyboard: cannot open /dev/uinput for writing"))
        << message;
    EXPECT_TRUE(Contains(message, "- XTest: there is no X display: DISPLAY is not set")) << message;
    EXPECT_TRUE(Contains(message, "KERNEL==\"uinput\", GROUP=\"input\"")) << message;
    EXPECT_TRUE(Contains(message, "usermod -aG input")) << message;
    EXPECT_TRUE(Contains(message, "\nOr start Vantrel inside an X session")) << message;
}

TEST_F(KeyServiceFactory, EachFailureIsExplained) {
    std::string message;
    KeyServiceOptions options;
    options.uinputPath = "/dev/null";
    options.displayName = ":987";
    EXPECT_EQ(CreateKeyService(options, message), nullptr);
    EXPECT_TRUE(Contains(message, "the virtual keyboard could not be set up")) << message;
    EXPECT_TRUE(Contains(message, "- XTest: cannot connect to the X display \":987\".")) << message;
    EXPECT_FALSE(Contains(message, "Only ")) << message;
}

TEST_F(KeyServiceFactory, TheEnvironmentVariableChoosesOneBackendOrIsRefused) {
    std::string message;
    setenv("VANTREL_KEY_BACKEND", "XTEST", 1);
    EXPECT_EQ(CreateKeyService(message), nullptr);
    EXPECT_FALSE(Contains(message, "uinput virtual keyboard:")) << message;
    EXPECT_TRUE(Contains(message, "- XTest: there is no X display")) << message;
    EXPECT_TRUE(Contains(message, "Only xtest was tried because VANTREL_KEY_BACKEND")) << message;

    setenv("VANTREL_KEY_BACKEND", "wayland", 1);
    EXPECT_EQ(CreateKeyService(message), nullptr);
    EXPECT_EQ(message,
              "Vantrel cannot send keys:\n- VANTREL_KEY_BACKEND is \"wayland\"; set it to uinput "
              "or xtest, or unset it.");
    unsetenv("VANTREL_KEY_BACKEND");
}

}  // namespace
}  // namespace vantrel
