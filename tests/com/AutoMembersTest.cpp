// The member tables the build generates hold what the committed interface
// XML declares, in its order: read here with a reader of the test's own, so
// that a fault of the generator does not hide behind itself.
#include <gtest/gtest.h>

#include <map>
#include <regex>

#include "com/AutoMembers.h"
#include "common/FileUtil.h"

using namespace vx;

namespace {

struct TXmlMember {
  std::string Kind;  // property, method or signal
  std::map<std::string, std::string> Attributes;
  std::string Signature;  // a method's in arguments
  bool FileName = false;  // an argument is annotated as a file name
};

std::map<std::string, std::string> Attributes(const std::string& text) {
  static const std::regex kAttribute(R"re(([A-Za-z]+)\s*=\s*"([^"]*)")re");
  std::map<std::string, std::string> out;
  for (std::sregex_iterator i(text.begin(), text.end(), kAttribute), end; i != end; ++i) out[(*i)[1]] = (*i)[2];
  return out;
}

std::vector<TXmlMember> ReadMembers(std::string xml) {
  xml = std::regex_replace(xml, std::regex(R"(<!--[\s\S]*?-->)"), "");
  static const std::regex kTag(R"(<(property|method|signal|arg|annotation)\b([^>]*)>)");
  std::vector<TXmlMember> out;
  for (std::sregex_iterator i(xml.begin(), xml.end(), kTag), end; i != end; ++i) {
    const std::string tag = (*i)[1];
    auto attrs = Attributes((*i)[2]);
    if (tag == "property" || tag == "method" || tag == "signal") {
      out.push_back({tag, attrs, "", false});
    } else if (tag == "arg" && !out.empty() && out.back().Kind == "method") {
      out.back().Signature += attrs["type"];
    } else if (tag == "annotation" && !out.empty() && attrs["name"] == "net.vexmoor.Vantor.FileName") {
      out.back().FileName = attrs["value"] == "true";
    }
  }
  return out;
}

}  // namespace

TEST(AutoMembers, TheTablesHoldTheCommittedInterfaceInItsOrder) {
  const auto xml = ReadWholeFile(VX_SOURCE_DIR "/data/dbus/net.vexmoor.Vantor.App.xml");
  ASSERT_TRUE(xml);
  std::vector<TXmlMember> properties, methods, signals;
  for (TXmlMember& m : ReadMembers(*xml))
    (m.Kind == "property" ? properties : m.Kind == "method" ? methods : signals).push_back(m);

  const auto& table = AutomationProperties();
  ASSERT_EQ(table.size(), properties.size());
  for (size_t i = 0; i < table.size(); ++i) {
    auto& x = properties[i].Attributes;
    EXPECT_EQ(table[i].Name, x["name"]) << i;
    EXPECT_EQ(std::string(1, char(table[i].Type)), x["type"]) << x["name"];
    EXPECT_EQ(table[i].Set ? "readwrite" : "read", x["access"]) << x["name"];
  }

  const auto& calls = AutomationMethods();
  ASSERT_EQ(calls.size(), methods.size());
  for (size_t i = 0; i < calls.size(); ++i) {
    const std::string name = methods[i].Attributes["name"];
    EXPECT_EQ(calls[i].Name, name) << i;
    EXPECT_EQ(calls[i].Arguments, methods[i].Signature) << name;
    EXPECT_EQ(calls[i].TakesFileName, methods[i].FileName) << name;
    // Only Release is the service's own; every other method reaches the target.
    EXPECT_EQ(calls[i].Call == nullptr, name == "Release") << name;
  }
  // The images' file names stay in the file system's bytes.
  EXPECT_TRUE(FindAutoMethod("SaveChartImage")->TakesFileName);
  EXPECT_TRUE(FindAutoMethod("SaveMapImage")->TakesFileName);

  // The signals are sent by the controller's event code, in this order.
  ASSERT_EQ(signals.size(), std::size(kAutomationSignals));
  for (size_t i = 0; i < signals.size(); ++i) EXPECT_EQ(signals[i].Attributes["name"], kAutomationSignals[i]);
}
