#include "QOVAJSONModel.h"
#include "StatusModel.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char *name;
    const char *className;
    const char *json;
    bool decodes;
};

void PrintTo(const Case &c, std::ostream *os) { *os << c.name; }

class Decoding : public ::testing::TestWithParam<Case> {};

TEST_P(Decoding, DecodesOrFailsAsItsKindsSay)
{
    const Case &c = GetParam();
    QString error;
    QOVAModelRef model = QOVAModelRegistry::modelFromJSONData(QString::fromLatin1(c.className),
                                                              QByteArray(c.json), &error);
    EXPECT_EQ(model != nullptr, c.decodes) << c.json << " -> " << qPrintable(error);
    if (model)
        EXPECT_EQ(model->className(), QString::fromLatin1(c.className));
    else
        EXPECT_FALSE(error.isEmpty());
}

const Case kHeadCases[] = {
    {"complete", "StatusModel",
     R"({"status_code":200,"status_string":"success","msg_id":12,"diag_info":""})", true},
    {"extra_members_ignored", "StatusModel",
     R"({"status_code":200,"status_string":"s","msg_id":1,"diag_info":"","x":[1,{}]})", true},
    {"missing_diag_info", "StatusModel", R"({"status_code":200,"status_string":"s","msg_id":1})", false},
    {"null_required", "StatusModel",
     R"({"status_code":200,"status_string":null,"msg_id":1,"diag_info":""})", false},
    {"integer_as_text", "StatusModel",
     R"({"status_code":"200","status_string":"s","msg_id":1,"diag_info":""})", false},
    {"integer_as_bool", "StatusModel",
     R"({"status_code":true,"status_string":"s","msg_id":1,"diag_info":""})", false},
    {"integer_fraction", "StatusModel",
     R"({"status_code":200.5,"status_string":"s","msg_id":1,"diag_info":""})", false},
    {"text_as_number", "StatusModel",
     R"({"status_code":200,"status_string":5,"msg_id":1,"diag_info":""})", false},
    {"not_an_object", "StatusModel", R"([1,2])", false},
    {"not_json", "StatusModel", R"({"status_code":)", false},
    {"unknown_class", "NoSuchModel", R"({})", false},
};

INSTANTIATE_TEST_SUITE_P(Head, Decoding, ::testing::ValuesIn(kHeadCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(StatusModelTest, FieldsCarryTheHeadValues)
{
    auto head = qova_model_cast<StatusModel>(QOVAModelRegistry::modelFromJSONData(
        QStringLiteral("StatusModel"),
        R"({"status_code":400,"status_string":"bad","msg_id":9007199254740993,"diag_info":"d"})"));
    ASSERT_TRUE(head);
    EXPECT_EQ(head->status_code, 400);
    EXPECT_EQ(head->status_string, QStringLiteral("bad"));
    EXPECT_EQ(head->msg_id, 9007199254740993LL);   // beyond 2^53, kept exactly
    EXPECT_EQ(head->diag_info, QStringLiteral("d"));
    EXPECT_TRUE(QOVAModelRegistry::contains(QStringLiteral("StatusModel")));
    EXPECT_FALSE(QOVAModelRegistry::contains(QStringLiteral("NSData")));
    EXPECT_EQ(head->toJSONObject().value(QStringLiteral("status_code")).toInteger(), 400);
}

} // namespace
