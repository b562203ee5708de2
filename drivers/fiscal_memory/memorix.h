/* Memorix: the fiscal-memory module's serial driver, its write-once record store (FM_) and its
   two-bank named-file store (HT_), exported with C linkage. Every call returns 0 or a code that
   FM_GetErrorText turns into text (HT_GetSizeOfNameBuf and FM_GetErrorText excepted). */
#ifndef TILLORA_MEMORIX_H
#define TILLORA_MEMORIX_H

#include <time.h>

#if defined(__GNUC__)
#define MEMORIX_API __attribute__((visibility("default")))
#else
#define MEMORIX_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Result codes. 2 to 99 are the module's own reply statuses, passed through unchanged. */
#define MEMORIX_OK 0
#define MEMORIX_FM_INTERFACE_ERROR 2
#define MEMORIX_FM_INTERFACE_CRC 3
#define MEMORIX_FM_INTERFACE_TIMEOUT 4
#define MEMORIX_FM_UNKNOWN_COMMAND 5
#define MEMORIX_FM_NO_ROOM_IN_BUF 20
#define MEMORIX_FM_PROM_CRC 21
#define MEMORIX_FM_LOCATE_ERROR 22
#define MEMORIX_FM_NO_SUCH_RECORD 23
#define MEMORIX_FM_PROM_ADDRESS 24
#define MEMORIX_FM_INVALID_RECORD 25
#define MEMORIX_FM_INVALID_WRITE_ADDRESS 26
#define MEMORIX_FM_WRITE_FAIL 27
#define MEMORIX_FM_PROM_NOT_EMPTY 28
#define MEMORIX_FM_INTERNAL 99
/* The library's own codes. */
#define MEMORIX_INVALID_RECORD_LENGTH 100 /* reply length byte wrong */
#define MEMORIX_NO_SUCH_RECORD 101        /* record index or match outside the records */
#define MEMORIX_REWRITE_RECORD 102        /* an interrupted append cannot be resumed */
#define MEMORIX_NO_ROOM 103               /* the record does not fit */
#define MEMORIX_PROMS_NOT_EMPTY 104
#define MEMORIX_NOT_DEVELOPMENT_VERSION 105
#define MEMORIX_NAME_TOO_LONG 106         /* record name above 255 characters */
#define MEMORIX_UNKNOWN_FORMAT 107        /* record format byte not 0 */
#define MEMORIX_FILE_EXISTS 108           /* HT_Create: name already used */
#define MEMORIX_RECORD_CRC 109
#define MEMORIX_TRANSACTION_OPEN 150      /* HT_BeginTrans: a transaction is already open */
#define MEMORIX_NO_TRANSACTION 151        /* HT_CommitTrans, HT_Rollback: none open */
#define MEMORIX_NO_SUCH_FILE 152          /* HT_Find */
#define MEMORIX_INTERFACE 200
#define MEMORIX_INTERFACE_CRC 201         /* reply check word differs */
#define MEMORIX_INVALID_PARAMETER 202     /* address, index, offset, length or size outside its limit */
#define MEMORIX_ACK_TIMEOUT 203
#define MEMORIX_TIMEOUT 204               /* no reply byte in time, reply not starting with STX */
#define MEMORIX_BAD_DATA 205              /* malformed reply or stored state */
#define MEMORIX_NO_MEMORY 206             /* null buffer, allocation failed */
#define MEMORIX_BAD_PARAMETERS 207        /* argument refused */
#define MEMORIX_COM_PORT 208              /* the port cannot be opened, set up or used */
#define MEMORIX_INTERNAL 255              /* internal limit */

/* Port. port is the number n of "COMn"; speed one of 4800, 9600, 14400, 19200, 38400, 57600,
   115200. Returns 0 also when the port is already open in this or another process (the
   arguments are then ignored), 207 for a bad port number or speed, 208 when the port cannot be
   opened or set up. */
MEMORIX_API int MEMORIX_OpenComPort(int port, int speed);
/* Ends the open state for every process that uses the library; the process that opened the port
   puts back the line settings and time-outs it found. Always 0. */
MEMORIX_API int MEMORIX_CloseComPort(void);

/* Write-once record store. */
/* *model points at the library's 16-character model text (0-terminated), valid until the next call. */
MEMORIX_API int FM_GetModel(char** model);
MEMORIX_API int FM_GetFirmwareVer(char* first, char* second);
MEMORIX_API int FM_GetSerialNumber(int* serialNumber);         /* 0 on failure */
MEMORIX_API int FM_GetSize(int* size);                         /* fiscal memory size in bytes */
MEMORIX_API int FM_GetFreeBytesCount(int* freeBytes);          /* size minus end of committed records */
MEMORIX_API int FM_GetRecordCount(int* count);
/* Appends one record time-stamped with the local time: name 0 to 255 characters (106 above),
   length 1 to 32000 data bytes (207 otherwise). Resumes an append that an earlier call left
   uncommitted when the new record, time-stamped as far as the earlier call wrote its time stamp,
   begins with the same bytes (102 otherwise). */
MEMORIX_API int FM_AppendRecord(const char* name, const void* data, int length);
/* Record by index, 0 the oldest, -1 the newest. Fills tm_mday, tm_mon, tm_year, tm_hour, tm_min,
   tm_sec of *time (the other fields are left), and the fiscal-memory addresses and lengths of the
   record's name and data. */
MEMORIX_API int FM_GetRecordInfo(int index, struct tm* time, int* nameAddress, int* nameLength,
                                 int* dataAddress, int* dataLength);
/* The k-th record (from 0; -1 the last) named name among the records from first up to, not
   including, last (-1: to the end). */
MEMORIX_API int FM_GetTypeRecordInfo(int first, int last, const char* name, int k, int* recordIndex,
                                     struct tm* time, int* dataAddress, int* dataLength);
MEMORIX_API int FM_GetTypeRecordCount(int first, int last, const char* name, int* count);
/* Reads length bytes (0 to 65535) of the fiscal memory from address into buffer. */
MEMORIX_API int FM_FillReadBuf(int address, int length, void* buffer);
/* Text of a code ("Unknown !!!" for codes without one); a constant, never fails. */
MEMORIX_API const char* FM_GetErrorText(int code);

/* Named-file store in the totals memory. Names are compared on their first 10 characters. */
MEMORIX_API int HT_GetSizeOfNameBuf(void);                     /* 11: a size, not a code */
MEMORIX_API int HT_Get_TotalsSize(int* size);                  /* usable size of a bank */
MEMORIX_API int HT_Get_FreeData(int* freeBytes);
MEMORIX_API int HT_Get_NumberOfFiles(int* count);
/* Adds an empty file of size 1 to 65535 at the end; *index receives its position. */
MEMORIX_API int HT_Create(const char* name, int* index, int size);
/* 0 with the file's position and size, 152 when absent (both outputs -1). */
MEMORIX_API int HT_Find(const char* name, int* index, int* size);
/* Copies the name of file index into nameBuffer (HT_GetSizeOfNameBuf bytes, 0-padded). */
MEMORIX_API int HT_FindByIndex(int index, char* nameBuffer);
MEMORIX_API int HT_Read(int index, void* buffer, int offset, int length);
MEMORIX_API int HT_Write(int index, const void* buffer, int offset, int length);
MEMORIX_API int HT_ClearFile(int index);
/* Removes the file; a name that is not there returns 0. Later files' indexes drop by one. */
MEMORIX_API int HT_Delete(const char* name);
MEMORIX_API int HT_Rename(int index, const char* name);
/* Empties the whole store (and ends any transaction). */
MEMORIX_API int HT_ClearAll(void);
MEMORIX_API int HT_BeginTrans(void);
MEMORIX_API int HT_CommitTrans(void);
MEMORIX_API int HT_Rollback(void);
MEMORIX_API int HT_Get_TransactionInProgress(int* inProgress);

#ifdef __cplusplus
}
#endif

#endif
