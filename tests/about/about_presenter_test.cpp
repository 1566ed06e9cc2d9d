#include <gtest/gtest.h>

#include "about/about_texts.h"
#include "about/frm_about.h"
#include "foundation/run_time_error.h"
#include "support/fake_ports.h"

namespace veltrano {
namespace {

using testing::FakeProcessStart;
using testing::FakeRegistry;
using testing::RecordingMessageBox;
using testing::ShownMessage;

class RecordingAboutView : public AboutView {
public:
    std::string caption, version, description, disclaimer;
    bool closed = false;
    void setCaption(std::string_view t) override { caption = t; }
    void setVersionText(std::string_view t) override { version = t; }
    void setDescriptionText(std::string_view t) override { description = t; }
    void setDisclaimerText(std::string_view t) override { disclaimer = t; }
    void closeWindow() override { closed = true; }
};

// Refuses to start anything, as a system would for a path it cannot run.
class FailingProcessStart : public FakeProcessStart {
public:
    void start(std::string_view path) override {
        throw RunTimeError(53, "cannot start " + std::string(path));
    }
};

constexpr auto kLocalMachine = RegistryRoot::LocalMachine;
const std::string kToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

RegistryValue text(const std::string& value) {
    std::vector<std::uint8_t> bytes(value.begin(), value.end());
    bytes.push_back(0);
    return {kRegString, bytes};
}

class about_box : public ::testing::Test {
protected:
    frmAbout presenter() { return frmAbout(view, {messages, registry, processes}); }

    const ShownMessage unavailable{"System Information Is Unavailable At This Time", "",
                                   MessageIcon::None};
    RecordingAboutView view;
    RecordingMessageBox messages;
    FakeRegistry registry;
    FakeProcessStart processes;
};

TEST_F(about_box, load_fills_caption_version_and_texts) {
    presenter().load();
    EXPECT_EQ(view.caption, "About Veltrano");
    EXPECT_EQ(view.version, "Version 1.1.1");
    EXPECT_EQ(view.description, about::descriptionText());
    EXPECT_FALSE(view.disclaimer.empty());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(about_box, description_is_the_documented_text_byte_for_byte) {
    const std::string expected =
        "Программа выполняет расстановку точечных символов вдоль выбранных линейных объектов в "
        "ГИС MapInfo на расстояниях, указнных в поле 'Список точек'. Расстояния отсчитываются в "
        "метрах от начала (или конца) линии. Для полилиний, состоящих из нескольких сегментов, "
        "длинна сегментов складывается. Начало следующего сегмента предполагается в конце "
        "предыдущего. Порядок примыкания и связанность сегментов НЕ учитываются. Возможна "
        "расстановка символов по границе полигонов, хотя это и не проверялось.\r\nТочность "
        "позиционирования точек относительно линий сильно зависит от точности представления "
        "координат в исходной и результирующей таблицах MapInfo. Эта точность зависит о "
        "внутренней сетки целочисленных координат, опредляемой границами таблицы MapInfo. Чем "
        "меньше расстояние между границами, тем точнее представление координат. Масимум "
        "неточностей производят СК \"долгота/широта\" с границами в градусах [0;-180] "
        "[360;+180].  В то же время, расхождения больше, чем 0,5 метра не отмечены. \r\nВ полях "
        "[distanceM], [xRowID] выходной таблицы сохраняются атрибуты создаваемых точек. Если "
        "поля отсуствуют, то атрибуты сохраняются в виде надписи (текстового объекта).";
    EXPECT_EQ(about::descriptionText(), expected);
}

TEST_F(about_box, ok_closes_the_window) {
    auto about = presenter();
    about.cmdOKClick();
    EXPECT_TRUE(view.closed);
}

TEST_F(about_box, without_registry_values_the_tool_is_unavailable) {
    auto about = presenter();
    about.cmdSysInfoClick();
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{unavailable});
    EXPECT_TRUE(processes.started.empty());
    EXPECT_FALSE(view.closed);
    ASSERT_EQ(registry.reads.size(), 2u);
    EXPECT_EQ(std::get<1>(registry.reads[0]), kToolKey);
    EXPECT_EQ(std::get<2>(registry.reads[0]), "PATH");
    EXPECT_EQ(std::get<1>(registry.reads[1]), kLocationKey);
    EXPECT_EQ(std::get<2>(registry.reads[1]), "MSINFO");
}

TEST_F(about_box, the_tool_path_value_is_started_as_it_stands) {
    registry.values[{kLocalMachine, kToolKey, "PATH"}] = text("C:\\Program Files\\msinfo32.exe");
    presenter().StartSysInfo();
    EXPECT_EQ(processes.started, std::vector<std::string>{"C:\\Program Files\\msinfo32.exe"});
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(registry.reads.size(), 1u);
}

TEST_F(about_box, the_location_folder_leads_to_the_tool_only_when_it_is_there) {
    registry.values[{kLocalMachine, kLocationKey, "MSINFO"}] = text("C:\\Shared\\MSInfo");
    presenter().StartSysInfo();
    EXPECT_TRUE(processes.started.empty());
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{unavailable});

    messages.shown.clear();
    processes.existingFiles = {"C:\\Shared\\MSInfo\\MSINFO32.EXE"};
    presenter().StartSysInfo();
    EXPECT_EQ(processes.started, std::vector<std::string>{"C:\\Shared\\MSInfo\\MSINFO32.EXE"});
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(about_box, a_tool_that_cannot_start_gives_the_message) {
    FailingProcessStart failing;
    registry.values[{kLocalMachine, kToolKey, "PATH"}] = text("C:\\gone.exe");
    frmAbout about(view, {messages, registry, failing});
    about.StartSysInfo();
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{unavailable});
}

}  // namespace
}  // namespace veltrano
