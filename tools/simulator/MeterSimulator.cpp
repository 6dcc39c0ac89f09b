#include "tools/simulator/MeterSimulator.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "Utils/Format.h"
#include "meter/MeterCodes.h"
#include "serial/TerminalSpeeds.h"
#include "tools/simulator/Loopback.h"
#include "tools/simulator/MeterReplies.h"

namespace {
constexpr double kBitsPerCharacter = 11;  // start, 8 data, parity, stop
constexpr auto kIdleWake = std::chrono::milliseconds(200);
constexpr auto kEndlessWake = std::chrono::milliseconds(2);
constexpr std::size_t kReadRequestBytes = 19;
constexpr unsigned kServerLineSpeed = 9600;  // the serial side of a simulated device server

std::string SystemError(const char* what) {
    return Format("%s: %s", what, std::strerror(errno));
}

std::tm LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}
}  // namespace

CMeterSimulator::CMeterSimulator(std::vector<CSimMeter> meters, CSimLine line, Report report)
    : meters_(std::move(meters)), line_(line), report_(std::move(report)) {}

CMeterSimulator::~CMeterSimulator() {
    stop_ = true;
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t woken = ::write(wake_, &one, sizeof one);
        thread_.join();
    }
    std::error_code ignored;
    if (!link_.empty() && std::filesystem::read_symlink(link_, ignored) == portPath_) {
        std::filesystem::remove(link_, ignored);
    }
    for (int fd : {master_, slave_, listener_, connection_, wake_}) {
        if (fd >= 0) ::close(fd);
    }
}

bool CMeterSimulator::Start(std::string& error) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error = SystemError("cannot open a pseudo-terminal");
        return false;
    }
    char name[64];
    if (::ptsname_r(master_, name, sizeof name) != 0) {
        error = SystemError("cannot name the pseudo-terminal");
        return false;
    }
    portPath_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    if (slave_ < 0 || ::tcgetattr(slave_, &raw) != 0) {
        error = SystemError("cannot open the terminal side");
        return false;
    }
    // Raw from the start, so nothing is echoed before the program configures its side.
    ::cfmakeraw(&raw);
    ::tcsetattr(slave_, TCSANOW, &raw);
    return StartAnswering(error);
}

bool CMeterSimulator::StartTcp(unsigned port, std::string& error) {
    listener_ = ListenOnLoopback(port, tcpPort_, error);
    if (listener_ < 0) return false;
    portPath_ = Format("tcp:127.0.0.1:%u", tcpPort_);
    return StartAnswering(error);
}

bool CMeterSimulator::StartAnswering(std::string& error) {
    wake_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wake_ < 0) {
        error = SystemError("cannot make a wake-up event");
        return false;
    }
    thread_ = std::thread(&CMeterSimulator::Run, this);
    return true;
}

bool CMeterSimulator::LinkAs(const std::string& link, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code failure;
    const fs::file_status status = fs::symlink_status(link, failure);
    if (fs::exists(status) && !fs::is_symlink(status)) {
        error = link + " exists and is not a link; it is left alone";
        return false;
    }
    fs::remove(link, failure);
    fs::create_symlink(portPath_, link, failure);
    if (failure) {
        error = "cannot link " + link + ": " + failure.message();
        return false;
    }
    link_ = link;
    return true;
}

void CMeterSimulator::Send(const CDataPackage& bytes) {
    Schedule(bytes, Clock::now(), false);
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t woken = ::write(wake_, &one, sizeof one);
}

std::vector<CDataPackage> CMeterSimulator::Requests() const {
    std::lock_guard<std::mutex> hold(lock_);
    return requests_;
}

std::vector<CMeterSimulator::Clock::duration> CMeterSimulator::ReplyToRequestGaps() const {
    std::lock_guard<std::mutex> hold(lock_);
    return gaps_;
}

void CMeterSimulator::Hangup() {
    std::lock_guard<std::mutex> hold(lock_);
    // The answering thread sees the end of the connection and closes it; the program sees it
    // at once.
    if (connection_ >= 0) ::shutdown(connection_, SHUT_RDWR);
}

void CMeterSimulator::HangUpLine() {
    if (listener_ >= 0) {
        DropConnection();
        return;
    }
    // Both sides of the pair go, as the device of a pulled adapter does: the program's reads
    // end with a hang-up and its link points nowhere.
    std::lock_guard<std::mutex> hold(lock_);
    outgoing_.clear();
    for (int* fd : {&master_, &slave_}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
}

termios CMeterSimulator::LineSettings() const {
    termios settings{};
    ::tcgetattr(slave_, &settings);
    return settings;
}

double CMeterSimulator::CharacterMs() const {
    if (!line_.paceAtLineSpeed) return 0;
    if (listener_ >= 0) return kBitsPerCharacter * 1000 / kServerLineSpeed;
    const termios settings = LineSettings();
    const unsigned bits = SpeedBitsOf(::cfgetospeed(&settings));
    return bits == 0 ? 0 : kBitsPerCharacter * 1000 / bits;
}

void CMeterSimulator::Run() {
    while (!stop_) {
        Clock::duration wait = kIdleWake;
        {
            std::lock_guard<std::mutex> hold(lock_);
            if (!outgoing_.empty()) {
                wait = std::max(Clock::duration::zero(), outgoing_.begin()->first - Clock::now());
            }
        }
        if (endless_) wait = std::min<Clock::duration>(wait, kEndlessWake);
        const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
        const timespec timeout{static_cast<time_t>(nanoseconds / 1000000000),
                               static_cast<long>(nanoseconds % 1000000000)};
        // A missing line end (no connection yet) has a negative descriptor, which poll skips.
        pollfd watched[] = {{LineEnd(), POLLIN, 0}, {listener_, POLLIN, 0}, {wake_, POLLIN, 0}};
        if (::ppoll(watched, 3, &timeout, nullptr) > 0) {
            if (watched[0].revents & (POLLIN | POLLHUP | POLLERR)) TakeInput();
            if (watched[1].revents & POLLIN) TakeConnection();
            std::uint64_t count = 0;
            if (watched[2].revents & POLLIN) {
                [[maybe_unused]] const ssize_t drained = ::read(wake_, &count, sizeof count);
            }
        }
        WriteDueBytes();
    }
}

void CMeterSimulator::TakeConnection() {
    const int accepted = AcceptConnection(listener_);
    if (accepted < 0) return;
    DropConnection();
    std::lock_guard<std::mutex> hold(lock_);
    connection_ = accepted;
}

void CMeterSimulator::DropConnection() {
    input_.clear();
    std::lock_guard<std::mutex> hold(lock_);
    // What was still to go to the client goes with it.
    outgoing_.clear();
    if (connection_ >= 0) ::close(connection_);
    connection_ = -1;
}

void CMeterSimulator::TakeInput() {
    std::uint8_t chunk[512];
    const ssize_t read = ::read(LineEnd(), chunk, sizeof chunk);
    const bool ended = read == 0 || (read < 0 && errno != EAGAIN && errno != EINTR);
    if (listener_ >= 0 && ended) DropConnection();
    if (read <= 0) return;
    const Clock::time_point arrived = Clock::now();
    input_.insert(input_.end(), chunk, chunk + read);
    for (;;) {
        const CRequestScan scan = ScanForReadRequest(input_);
        // How long the line was quiet from the last reply to this request, for the report.
        std::string quiet;
        if (scan.found) {
            CDataPackage request;
            for (std::size_t i = scan.consumed - 16; i < scan.consumed; ++i) request.Add(input_[i]);
            std::lock_guard<std::mutex> hold(lock_);
            requests_.push_back(request);
            if (replyEnd_) {
                gaps_.push_back(arrived - *replyEnd_);
                quiet = Format(", %.1f ms after the last reply",
                               std::chrono::duration<double, std::milli>(gaps_.back()).count());
            }
            replyEnd_.reset();
            endless_.reset();
        }
        input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(scan.consumed));
        if (!scan.found) break;
        Answer(scan.serial, scan.meterCode, arrived, quiet);
    }
}

void CMeterSimulator::Answer(unsigned serial, int meterCode, Clock::time_point requestEnd,
                             const std::string& quiet) {
    const SimFamily family = meterCode == MeterCodeHeat ? SimFamily::Heat : SimFamily::Water;
    const char* familyName = family == SimFamily::Heat ? "heat" : "water";
    for (const CSimMeter& meter : meters_) {
        if (meter.serial != serial || meter.family != family ||
            (meterCode != MeterCodeHeat && meterCode != MeterCodeWater)) {
            continue;
        }
        if (meter.silent) break;
        if (meter.hangUp) {
            HangUpLine();
            if (report_) report_(Format("%s %08u: hung up%s", familyName, serial, quiet.c_str()));
            return;
        }
        // The request took its time on the line before the meter could hear all of it.
        const auto requestOnLine = std::chrono::duration<double, std::milli>(
            CharacterMs() * static_cast<double>(kReadRequestBytes));
        const auto delay = std::chrono::milliseconds(line_.replyDelayMs + meter.lateMs);
        const Clock::time_point start =
            requestEnd + std::chrono::duration_cast<Clock::duration>(requestOnLine) + delay;
        if (meter.endless != SimEndless::None) {
            endless_.emplace(meter, BuildMeterReply(meter, LocalNow()));
            endlessStart_ = start;
            endlessSent_ = 0;
        } else {
            Schedule(BuildMeterReply(meter, LocalNow()), start, true);
        }
        if (report_) report_(Format("%s %08u: answered%s", familyName, serial, quiet.c_str()));
        return;
    }
    if (report_) {
        report_(Format("type %02X %08u: no answer%s", meterCode & 0xFF, serial, quiet.c_str()));
    }
}

void CMeterSimulator::Schedule(const CDataPackage& bytes, Clock::time_point start, bool inBursts) {
    const double characterMs = CharacterMs();
    const bool bursts = inBursts && line_.burstBytes > 0;
    std::lock_guard<std::mutex> hold(lock_);
    for (std::size_t i = 0; i < bytes.Size(); ++i) {
        double offsetMs = static_cast<double>(i) * characterMs;
        if (bursts) offsetMs += static_cast<double>(i / line_.burstBytes) * line_.burstGapMs;
        const auto due = start + std::chrono::duration_cast<Clock::duration>(
                                     std::chrono::duration<double, std::milli>(offsetMs));
        outgoing_.emplace(due, bytes.At(i));
    }
}

void CMeterSimulator::TakeEndlessBytes(Clock::time_point now, std::vector<std::uint8_t>& due) {
    if (!endless_ || now < endlessStart_) return;
    // Unpaced, the line still runs at the device server's speed: "never silent" needs a pace.
    const double characterMs =
        CharacterMs() > 0 ? CharacterMs() : kBitsPerCharacter * 1000 / kServerLineSpeed;
    const auto elapsed = std::chrono::duration<double, std::milli>(now - endlessStart_).count();
    const auto owed = static_cast<std::size_t>(elapsed / characterMs) + 1;
    for (; endlessSent_ < owed; ++endlessSent_) due.push_back(endless_->Next());
}

void CMeterSimulator::WriteDueBytes() {
    std::vector<std::uint8_t> due;
    {
        std::lock_guard<std::mutex> hold(lock_);
        const Clock::time_point now = Clock::now();
        while (!outgoing_.empty() && outgoing_.begin()->first <= now) {
            due.push_back(outgoing_.begin()->second);
            outgoing_.erase(outgoing_.begin());
        }
        TakeEndlessBytes(now, due);
    }
    // A full line buffer (nobody reads the port) loses the bytes, as a radio link would, and so
    // does a server without a client.
    if (due.empty() || LineEnd() < 0) return;
    const ssize_t written = listener_ >= 0
                                ? ::send(connection_, due.data(), due.size(), MSG_NOSIGNAL)
                                : ::write(master_, due.data(), due.size());
    if (written <= 0) return;
    std::lock_guard<std::mutex> hold(lock_);
    replyEnd_ = Clock::now();
}
