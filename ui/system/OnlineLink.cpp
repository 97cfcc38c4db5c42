#include "ui/system/OnlineLink.h"

#include "core/base/Capabilities.h"
#include "core/base/FileAccess.h"
#include "core/base/Utf.h"
#include "core/lang/Translate.h"
#include "core/online/ContentId.h"
#include "core/online/PlayerName.h"
#include "core/stage/FileLocations.h"
#include "core/stage/StageFile.h"
#include "ui/platform/Platform.h"
#include "ui/platform/Requests.h"
#include "ui/render/MenuEntry.h"
#include "ui/system/InputBox.h"

namespace {
constexpr int StatusShownFrames = 600;
constexpr Vec2 StatusPosition{-390.0f, -268.0f};
constexpr float StatusScale = 0.45f;
constexpr Color32 StatusColor = makeColor(200, 200, 170, 255);

std::optional<std::string> readStageBytes(const std::string& path) {
    std::error_code error;
    return readRegularFile(path, {MaxStageFileBytes, true, false}, error);
}

std::optional<std::string> readReplayBytes(const std::string& path) {
    std::error_code error;
    return readRegularFile(path, {online::MaxSubmittedReplayBytes, false, false}, error);
}

std::u16string statusText(const online::StatusLine& line) {
    const std::u16string detail = toUtf16(line.detail);
    switch (line.status) {
    case online::Status::None:
        break;
    case online::Status::Sent:
        return withNumber(tr(u"オンライン記録に送りました（%1位）"), std::size_t(line.number));
    case online::Status::NotBetter:
        return tr(u"オンライン記録：自己ベストの方が速いので記録は変わりません");
    case online::Status::Refused:
        return tr(u"オンライン記録に受け付けられませんでした：") + detail;
    case online::Status::OutOfReach:
        if (line.number == 0) return tr(u"記録サーバーにつながりません");
        return withNumber(tr(u"記録サーバーにつながりません（未送信の記録：%1件）"),
                          std::size_t(line.number));
    case online::Status::NameTaken:
        return tr(u"その名前は使われています：") + detail;
    case online::Status::Published:
        return tr(u"ステージを公開しました");
    case online::Status::PublishRefused:
        return tr(u"ステージを公開できませんでした：") + detail;
    }
    return u"";
}
} // namespace

void OnlineLink::Follow(const Settings& settings) {
    const bool reading = settings.onlineRecords || platform::recordsAtOrigin();
    const std::string server = PlatformIsServedPage ? std::string() : settings.serverAddress;
    if (!reading) {
        client_.reset();
        return;
    }
    if (client_ && client_->Server() == server && client_->Submitting() == settings.onlineRecords) return;
    client_ = std::make_unique<online::RecordsClient>(server, settings.onlineRecords);
    clientTags_.clear();
    client_->SendUnsent(); // what waited from an earlier session goes out now
}

void OnlineLink::Pump(GlyphCache& cache) {
    if (statusFrames_ > 0) --statusFrames_;
    std::vector<online::Answer> answers = platform::takeAnswers();
    if (!client_) return;
    for (online::Request& request : client_->TakeRequests()) {
        const int tag = request.tag;
        request.tag = nextTag_++;
        clientTags_[request.tag] = tag;
        if (!platform::sendRequest(client_->Server(), std::move(request)))
            answers.push_back({nextTag_ - 1, 0, {}});
    }
    for (online::Answer& answer : answers) {
        const auto it = clientTags_.find(answer.tag);
        if (it == clientTags_.end()) continue; // a replaced client's
        answer.tag = it->second;
        clientTags_.erase(it);
        client_->Receive(answer);
    }
    const online::StatusLine& line = client_->Line();
    if (line.serial == shownSerial_) return;
    shownSerial_ = line.serial;
    statusFrames_ = StatusShownFrames;
    status_ = CreateFittedLabel(cache, statusText(line), StatusPosition, StatusScale, -StatusPosition.x);
}

void OnlineLink::DrawStatus() const {
    if (StatusShown()) DrawLegibleLabel(*status_, StatusColor);
}

void OnlineLink::AskName() {
    if (!client_ || !client_->WantsName()) return;
    std::u16string name;
    const std::u16string prompt = tr(u"オンライン記録に載せる名前（24文字まで）");
    for (;;) {
        if (!InputBox(prompt.c_str(), name.c_str(), name)) return client_->DeclineName();
        if (isValidPlayerName(toUtf8(name))) return client_->ClaimName(toUtf8(name));
    }
}

void OnlineLink::SubmitBestRun(const std::string& stagePath, const std::string& replayPath) {
    if (!client_ || !client_->Submitting()) return;
    const std::optional<std::string> stage = readStageBytes(stagePath), replay = readReplayBytes(replayPath);
    if (!stage || !replay) return; // the run was just written: only a disk gone wrong gets here
    client_->SubmitBestRun(stageContentId(*stage), *replay);
    AskName();
}

bool OnlineLink::Publish(const std::string& stagePath, const std::string& replayPath) {
    if (!client_) return false;
    const std::optional<std::string> stage = readStageBytes(stagePath), replay = readReplayBytes(replayPath);
    if (!stage || !replay) return false;
    client_->Publish(*stage, *replay);
    AskName();
    return true;
}

const std::string& OnlineLink::ShippedStageId(int stageNumber) {
    std::string& id = shippedIds_.at(std::size_t(stageNumber));
    if (id.empty()) id = StageIdOf(stageFileName(stageNumber));
    return id;
}

std::string OnlineLink::StageIdOf(const std::string& path) {
    const std::optional<std::string> bytes = readStageBytes(path);
    return bytes ? stageContentId(*bytes) : std::string();
}
