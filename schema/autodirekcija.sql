/*
  The second database the back office sends the tills' receipts to (alias "AD", log-in from the
  key "Software\TOVEL\Tillora\AutoDirekcija"), as far as the back office writes it: table KASE,
  one row per receipt. Firebird 3, dialect 3, UTF8; run after CREATE DATABASE as till.sql is.
  The columns are those the back office's INSERT names; ID is this database's own key.
*/

CREATE GENERATOR KASEGEN;

CREATE TABLE KASE (
  ID          INTEGER NOT NULL,
  KLIENTA_ID  INTEGER,
  PASUT_ID    INTEGER,
  KVITSNR     INTEGER,
  CENA        DOUBLE PRECISION,
  PVN         DOUBLE PRECISION,
  SUMMA       DOUBLE PRECISION,
  SUMMAAPM    DOUBLE PRECISION,
  DATUMSAPM   TIMESTAMP,
  PARSKAIT    INTEGER,
  NODALA      VARCHAR(1),
  FILIALE_ID  VARCHAR(2),
  GRUPA       VARCHAR(1),
  CONSTRAINT PK_KASE PRIMARY KEY (ID)
);

CREATE INDEX KASE_KVITSNR ON KASE (KVITSNR);

SET TERM ^ ;

CREATE TRIGGER KASE_BI FOR KASE ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
  NEW.ID = GEN_ID(KASEGEN, 1);
END^

SET TERM ; ^
