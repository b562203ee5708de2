// PayvoBridge: the payment terminal's ECR protocol "4.4.12" as one exported class over a serial
// port or TCP/IP. A host builds against this header; the records' layouts and sizes are part of
// the library's interface.
#pragma once

#include <cstdint>

#define PAYVO_BRIDGE_EXPORT __attribute__((visibility("default")))

// The caller's text buffer of TerminalFunction must hold at least this many bytes: the answer is
// cut to one less and always ends with a NUL.
inline constexpr int kPayvoFunctionTextSize = 1024;
// vcb_GetInfoText writes up to 1023 characters and the NUL.
inline constexpr int kPayvoInfoTextSize = 1024;
inline constexpr int kPayvoReceiptSize = 5000;

struct T_PayvoTransactionRequest {
    std::int32_t TransactionType;  // 0, 1, 2, 3, 4, 7, 8 or 9
    std::int32_t Amount;           // minor units, 0 to 99999999
    std::int32_t Language;
    std::int32_t PrintingDevice;   // 1 turns the collection of print lines on
    std::int32_t BatchType;        // sent for types 7 and 9 unless it is 99
    std::int32_t ReceiptDataType;
    std::int16_t Currency;
    std::int16_t PrePaidCode;      // type 4 only
    char HostID[20];               // type 9 only
    char TransactionID[200];
    std::int32_t ReceiptType;
};
static_assert(sizeof(T_PayvoTransactionRequest) == 252);

struct T_PayvoTransactionReport {
    char StatusDisplayMsg[100];
    std::int32_t TransactionReturn;  // 0 authorised, 1 refused, 2 amount, 3 type, 4 unusable answer, 5 other or failed
    char CardName[200], CardNumber[200], ValidDate[200], TicketNumber[200], AuthCode[200], RefNumber[200],
        TerminalID[200], TVR[200], TSI[200], API[200], ResponseCode[200], AData[200], AID[200], AppLabel[200];
    char TransactionDate[200], MerchantID[200], ProcessingCode[200], POSEntryMode[200], CHVM[200], BatchNumber[200],
        LoylatyCardData[200], TerminalSN[200], RespTransactionAmount[200], RespCurrencyCode[200], OperationName[200],
        EMVLangTag[200], CardEntryType[200], CTLSCardType[200], CTLSOfflineAmount[200], Tag9C[200], Tag5F34[200],
        Tag9F03[200], Tag9F10[200], Tag9F1A[200], Tag9F27[200], Tag9F34[200], Tag9F36[200], Tag9F37[200],
        TACDefault[200], TACDenial[200], TACOnline[200], IACDefault[200], IACDenial[200], IACOnline[200],
        MerchantName[200], STAN[200], TransIndicator[200], MerchantAddress[200], MerchantRegNr[200],
        MerchantCashNr[200], AltCurrName[200], AltCurrAmount[200];
    char PrePaidName[100];
    char PrePaidNominal[50], PrePaidDuration[50], PrePaidExtDuration[50], PrePaidExpirity[50], PrePaidValue[50],
        PrePaidSerial[50];
    char PrePaidDescription[2000];
    char TransactionID[200];
};
static_assert(sizeof(T_PayvoTransactionReport) == 13104);

#pragma pack(push, 1)
struct T_PayvoState {
    std::int32_t TerminalState;    // 0..7 as reported, 99 unusable, 88 no answer, 1 library busy
    std::int32_t ConnectionState;  // 0 or 1
    char TerminalID[15];
    char AppVersion[40];
    char ProtocolVersion[20];
};
#pragma pack(pop)
static_assert(sizeof(T_PayvoState) == 83);

struct T_HostListData {
    char HostID[5];
    char HostName[20];
};
static_assert(sizeof(T_HostListData) == 25);

struct T_HostTotalData {
    char HostID[5];
    char DebitCount[20];
    char DebitTotal[20];
    char CreditCount[20];
    char CreditTotal[20];
};
static_assert(sizeof(T_HostTotalData) == 85);

struct T_LoyaltyCardData {
    char LoyaltyData1[50];
    char LoyaltyData2[50];
};
static_assert(sizeof(T_LoyaltyCardData) == 100);

struct T_PayvoFunctionRequest {
    std::int32_t FunctionType;
    std::int32_t HostID;
    std::int32_t ClearType;
};
static_assert(sizeof(T_PayvoFunctionRequest) == 12);

// Every member blocks until the terminal exchange ends; one runs at a time in a process, except
// Cancel, which may be called on a second thread while TransactionRequest waits.
class PAYVO_BRIDGE_EXPORT T_Payvo {
public:
    T_Payvo();
    T_Payvo(const T_Payvo& other);
    T_Payvo& operator=(const T_Payvo& other);
    virtual ~T_Payvo();

    bool TransactionRequest(T_PayvoTransactionRequest* request, T_PayvoTransactionReport* report);
    bool GetTrxReceiptData(T_PayvoTransactionRequest* request, T_PayvoTransactionReport* report);
    bool GetState(T_PayvoState* state);
    bool Cancel();
    bool EncashTransaction();
    bool GetHostList(T_HostListData* first);
    bool GetNextHostList(T_HostListData* next);
    bool GetHostTotal(int host, T_HostTotalData* totals);
    bool GetLoyaltyCardData(const char* loyaltyType, T_LoyaltyCardData* data);
    // text must hold kPayvoFunctionTextSize bytes.
    bool TerminalFunction(T_PayvoFunctionRequest* request, char* text);
    bool WaitForCardRemoving();
    // text must hold kPayvoInfoTextSize bytes; id is always 0.
    void vcb_GetInfoText(int* id, char* text);

    // Print lines and terminal texts collected by the batch, receipt, encash and decline
    // exchanges; always NUL-terminated.
    char Receipt[kPayvoReceiptSize];
};
