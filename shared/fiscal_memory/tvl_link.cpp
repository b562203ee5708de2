#include "tvl_link.h"

namespace tvl {

std::uint16_t crc16(std::string_view bytes)
{
    std::uint16_t crc = 0xFFFF;
    for (const char ch : bytes) {
        crc ^= static_cast<unsigned char>(ch);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? std::uint16_t((crc >> 1) ^ 0xA001) : std::uint16_t(crc >> 1);
    }
    return crc;
}

std::string checkText(std::string_view bytes)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    const std::uint16_t crc = crc16(bytes);
    return {digits[(crc >> 12) & 0xF], digits[(crc >> 8) & 0xF], digits[(crc >> 4) & 0xF], digits[crc & 0xF]};
}

bool fitsInFrame(std::string_view field)
{
    return field.find_first_of("|\n\r") == std::string_view::npos;
}

std::string buildRequest(std::string_view command, std::string_view p1, std::string_view p2, std::string_view p3)
{
    const std::string head = std::string(command) + "0|" + std::string(p1) + "|" + std::string(p2) + "|";
    const std::string data = "|" + std::string(p3) + "|";
    return "\n" + head + checkText(head) + data + checkText(data) + "\r";
}

bool Reply::checksMatch() const
{
    return separators == 4 && checkText(code + "|" + status + "|") == check1 && checkText("|" + data + "|") == check2;
}

void ReplyDecoder::reset()
{
    reply_ = Reply{};
    started_ = false;
}

ReplyDecoder::Step ReplyDecoder::feed(char byte)
{
    if (byte == '\r')
        return Step::Complete;
    if (!started_) {
        if (byte != '\n')
            return Step::BadFirstByte;
        started_ = true;
        return Step::NeedMore;
    }
    if (byte == '|') {
        ++reply_.separators;
        return Step::NeedMore;
    }
    switch (reply_.separators) {
    case 0: reply_.code.push_back(byte); break;
    case 1: reply_.status.push_back(byte); break;
    case 2: reply_.check1.push_back(byte); break;
    case 3: reply_.data.push_back(byte); break;
    case 4: reply_.check2.push_back(byte); break;
    default: break;  // beyond the last field: not part of any checked text
    }
    return Step::NeedMore;
}

Status classifyStatus(std::string_view status)
{
    if (status == "NoSuchRecord")
        return Status::NoSuchRecord;
    if (status == "FileAlreadyExist")
        return Status::FileAlreadyExist;
    if (status == "RecordCrc")
        return Status::RecordCrc;
    return status.size() > 5 ? Status::DeviceError : Status::Ok;
}

}  // namespace tvl
