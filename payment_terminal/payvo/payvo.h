// T_Payvo: the control's message layer. It holds every value exchanged with the terminal, builds
// the ECR requests, runs the exchanges over CCom, reads the answers into its fields and fires the
// control's events for the terminal's input, loyalty and notification messages.
#pragma once

#include "com.h"
#include "errors.h"
#include "forwarding.h"
#include "link.h"
#include "object_layer.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace payvo {

inline constexpr const char* kLibraryVersion = "2.2.5.12";
inline constexpr const char* kProtocolVersion = "4.4.33";

// Events of the control's event interface, by DISPID.
enum PayvoEvent : std::int32_t {
    kEnterLast4Digits = 1, kEnterAuthCode = 2, kAskYesNo = 3, kEnterDailyPwd = 4, kEnterMerchantPwd = 5,
    kEnterReceiptNr = 6, kEnterSaleAmount = 7, kEnterDate = 8, kEnterTime = 9, kNotification = 10,
    kCheckCardSecurity = 11, kProcessLoyaltyData = 12, kEnterSTAN = 13,
};

// Where T_Payvo fires its events: the control that owns it. By-reference arguments are elements
// of args the handlers may change.
class PayvoEventTarget {
public:
    virtual ~PayvoEventTarget() = default;
    virtual void fireEvent(std::int32_t dispid, std::vector<platform::com::Variant>& args) = 0;
};

class T_Payvo {
public:
    explicit T_Payvo(PayvoEventTarget* owner);
    virtual ~T_Payvo();
    T_Payvo(const T_Payvo&) = delete;
    T_Payvo& operator=(const T_Payvo&) = delete;

    // Operations (each blocks until its exchange has ended).
    bool TransactionRequest();
    bool Cancel();
    bool GetState();
    bool EncashTransaction();
    bool WaitForCardRemoving();
    bool GetHostList();
    bool GetNextHostList();
    bool GetHostTotals();
    bool GetLoyaltyCardData(const std::string& loyaltyType);
    bool TerminalFunction();

    // The request frames of types "1", "6", "A" and "C" from the fields; false for another type.
    bool BuildRequest(const std::string& type, Frame& frame);
    static std::int32_t GetPacketType(std::string_view message);
    bool SetAuthResponse(const Frame& message);
    void ClearResponseFields();

    // The loyalty request forwarded between operations; returns the host program's status.
    std::int32_t fireLoyaltyEvent(const std::string& data, std::string& newAmount);

    ForwardingHub& hub() { return hub_; }

    // Fields, each named after the control property that shows it.
    std::string AppVersion;
    std::int16_t TerminalState = 0, ConnectionState = 0, TransactionType = 0;
    std::int32_t Amount = 0;
    std::int16_t Language = 0, PrintingDevice = 0, Currency = 0, PrePaidCode = 0;
    std::string StatusDisplayMsg;
    std::int16_t TransactionReturn = 0;
    std::string CardName, CardNumber, ValidDate, TicketNumber, AuthCode, RefNumber, TerminalID, TVR, TSI, API,
        ResponseCode, AData, AID, AppLabel;
    std::string PrePaidName, PrePaidNominal, PrePaidDuration, PrePaidExtDuration, PrePaidExpirity, PrePaidValue,
        PrePaidSerial, PrePaidDescription;
    std::string TransactionDate, MerchantID, ProcessingCode, POSEntryMode, CHVM, BatchNumber, LoylatyCardData,
        TerminalSN, RespTransactionAmount, RespCurrencyCode, OperationName;
    std::string EMVLangTag, CardEntryType, CTLSCardType, CTLSOfflineAmount, Tag9C, Tag5F34, Tag9F03, Tag9F10,
        Tag9F1A, Tag9F27, Tag9F34, Tag9F36, Tag9F37, TACDefault, TACDenial, TACOnline, IACDefault, IACDenial,
        IACOnline, MerchantName, STAN, TransIndicator, MerchantAddress, MerchantRegNr, MerchantCashNr, AltCurrName,
        AltCurrAmount, MerchTicketCardNumber;
    std::uint8_t bUseECRInput = 0, bUseCommForwarding = 0, bMagstripeLoyaltySupport = 0, bEEIDLoyaltySupport = 0,
        bAmountUpdateSupport = 0;
    std::string TransactionID;
    std::string Receipt;
    std::string SerialPortNumber, SerialPortSpeed;
    std::int16_t ConnectionType = 0, ReceiptType = 0, ReceiptDataType = 0, BatchType = 0;
    std::string HostID, HostName;
    std::int16_t StatusCode = 0;
    std::string LoyaltyData1, LoyaltyData2;
    std::int16_t FunctionType = 0, ClearType = 0;
    std::int32_t displayTextId = 0;
    std::string displayText;
    std::string DebitCount, DebitTotal, CreditCount, CreditTotal;
    std::int16_t PrintDataFormattingType = 0;

private:
    // "MLOY;", "EEID;" and "AMOD;" for the capability flags set, run together.
    std::string capabilityList() const;
    void applyConnectionSettings();
    // Asks the serial worker to let go of the port; false when it did not.
    bool release();
    void takeBack();
    void clearDisplayText();

    bool RunRequestExchange(const Frame& request, Frame& answer);
    bool RunPrintLinesExchange(const Frame& request);
    int RunReceiptExchange(const Frame& request, std::string& output);
    bool RunBatchExchange(const Frame& request, Frame& answer);
    // portReleased false: the port could not be had, as when it cannot be opened.
    bool RunStateExchange(const Frame& request, bool portReleased);
    bool RunCardRemovalExchange(const Frame& request, Frame& answer);
    bool SetStateResponse(const Frame& message);
    bool DeclineTransaction();
    // The host list, host totals and loyalty data: refused while another operation runs, busy
    // state 3 and the port released around the exchange.
    bool runInformationOperation(const std::function<bool()>& exchange);
    void readAuthorisationFields(const Frame& message);
    bool runTransaction(Frame& answer);

    void handleInputRequest(const Frame& message);
    void handleLoyaltyRequest(const Frame& message);
    void handleNotification(const Frame& message);
    void fire(std::int32_t dispid, std::vector<platform::com::Variant>& args);

    // Process-wide: whether print lines go into Receipt (on when the last transaction request
    // had PrintingDevice 1; the encash and the decline turn it off).
    static std::atomic<bool> printCollection;

    PayvoEventTarget* owner_;
    CCom& com_;
    ForwardingHub hub_;
};

}  // namespace payvo
