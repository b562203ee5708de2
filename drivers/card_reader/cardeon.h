/* Cardeon: the chip-card reader with a text display on a serial port, exported with C linkage.
   Every call opens the reader's port, does its exchange and closes the port again; each byte
   exchanged goes to "Draveldll.log" in the working folder. */
#ifndef TILLORA_CARDEON_H
#define TILLORA_CARDEON_H

#include <stdint.h>

#if defined(__GNUC__)
#define CARDEON_API __attribute__((visibility("default")))
#else
#define CARDEON_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Result codes. */
#define CARDEON_OK 0
#define CARDEON_NO_CARD (-1)              /* iCheckForCardIns: no card; iRemoveCard: card still in */
#define CARDEON_PORT_STATE_READ (-1001)   /* the port's settings could not be read */
#define CARDEON_PORT_STATE_WRITE (-1002)  /* the port's settings could not be written */
#define CARDEON_PORT_OPEN (-1003)         /* the port cannot be opened (missing, or in use) */
#define CARDEON_TIMEOUT (-1004)           /* no answer in time, or the presence check failed */
#define CARDEON_READ (-1005)              /* reading the port failed */
#define CARDEON_BAD_PACKET (-1006)        /* refused or bad three times (EOT sent), or an answer without a status */
#define CARDEON_WRITE (-1007)             /* writing the port failed */
#define CARDEON_ACK_WITH_DATA (-1016)     /* an acknowledgement came with further bytes */

/* iCheckForCardType results. */
#define CARDEON_CHIP_CARD 1
#define CARDEON_STRIPE_CARD 2
#define CARDEON_NO_SEPARATOR (-1)         /* no "=" with a service code behind it */
#define CARDEON_OTHER_CARD (-3)

/* port: the n of "COMn"; only its low 16 bits are used. */
/* ENQ to the reader, then the card prompt on its display. */
CARDEON_API int32_t iInitSerialPort(int32_t port);
/* 0 when a card is in the reader; -1 when none is (the prompt is shown again). */
CARDEON_API int32_t iCheckForCardIns(int32_t port);
/* 0 when the card has been taken out (the prompt is shown again); -1 while it is still in. */
CARDEON_API int32_t iRemoveCard(int32_t port);
/* The card kind from magnetic-stripe track 2 data of length bytes (at most the first 50 count). */
CARDEON_API int32_t iCheckForCardType(const char* trackData, int32_t length);

/* Called on every turn of a wait for the reader, so the caller's window keeps handling its
   events (the till passes its event loop); null stops it. Not one of the reader's functions: a
   host that sets nothing simply blocks while it waits. */
typedef void (*CardeonMessagePump)(void* context);
CARDEON_API void CardeonSetMessagePump(CardeonMessagePump pump, void* context);

#ifdef __cplusplus
}
#endif

#endif
