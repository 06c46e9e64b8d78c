// The four-box address field: text and number forms, empty boxes, typing and its signal.
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "comm/ui/CIpAddressEdit.h"
#include "tests/dialogs/DialogTestEnv.h"

namespace corvane::comm {
namespace {

using test::DialogTestEnv;

class IpAddressEditTest : public DialogTestEnv {};

TEST_F(IpAddressEditTest, TextAndAddressForms) {
  struct Row {
    const char* set;
    const char* text;
    std::uint32_t address;
  };
  const Row rows[] = {
      {"", "0.0.0.0", 0},
      {"192.168.1.5", "192.168.1.5", 0xC0A80105},
      {"10..0.2", "10.0.0.2", 0x0A000002},  // an empty box counts as 0
      {"255.255.255.255", "255.255.255.255", 0xFFFFFFFF},
      {"1.2.3.400", "1.2.3.0", 0x01020300},  // a box out of range stays empty
      {"1.2", "1.2.0.0", 0x01020000},
  };
  CIpAddressEdit field;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.set);
    field.SetText(row.set);
    EXPECT_EQ(field.Text().toStdString(), row.text);
    EXPECT_EQ(field.Address(), row.address);
  }
  field.SetAddress(0x0A000002);
  EXPECT_EQ(field.Text().toStdString(), "10.0.0.2");
  field.Clear();
  EXPECT_TRUE(field.IsBlank());
  EXPECT_EQ(field.Text().toStdString(), "0.0.0.0");
}

TEST_F(IpAddressEditTest, TypingClampsMovesOnAndSignals) {
  CIpAddressEdit field;
  field.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&field));
  QSignalSpy changed(&field, &CIpAddressEdit::addressChanged);
  field.Part(0)->setFocus();
  QTest::keyClicks(field.Part(0), "300");
  EXPECT_EQ(field.Part(0)->text().toStdString(), "255");
  EXPECT_TRUE(field.Part(1)->hasFocus());  // three digits move to the next box
  QTest::keyClicks(field.Part(1), "7");
  QTest::keyClick(field.Part(1), '.');
  EXPECT_TRUE(field.Part(2)->hasFocus());
  QTest::keyClicks(field.Part(2), "x1");  // letters are refused
  EXPECT_EQ(field.Text().toStdString(), "255.7.1.0");
  EXPECT_GE(changed.count(), 3);
  changed.clear();
  field.SetAddress(1);
  EXPECT_GE(changed.count(), 1);
}

}  // namespace
}  // namespace corvane::comm
