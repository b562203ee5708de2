/*
  The till database (alias POS_DB, file "POS_DATI.GDB"): Firebird 3, SQL dialect 3, UTF8 text.

  This script holds everything after CREATE DATABASE; tillora-db creates the file
  (page size 8192, default character set UTF8) and runs it with the connection
  character set UTF8, committing after every statement. With isql:
    CREATE DATABASE 'POS_DATI.GDB' USER 'SYSDBA' PAGE_SIZE 8192 DEFAULT CHARACTER SET UTF8;
    INPUT till.sql;

  Conventions every program of the suite relies on:
  - every table has the integer key ISN, filled by a generator in a BEFORE INSERT trigger that
    always assigns it: the back office inserts the placeholder 1, other writers leave it out;
  - flags are one character, 'T' (yes) or 'F'; NULL counts as no. They are VARCHAR(1), not
    CHAR(1): a UTF8 CHAR(1) reaches the Qt driver blank-padded to four bytes ("T   "), which
    would fail every comparison with "T" in the programs;
  - money, prices, quantities and percentages are DOUBLE PRECISION;
  - DATE columns carry the day only; times of day are text "HH:MM:SS";
  - text widths are characters (UTF8), as the programs' field definitions give them.
*/

/* ---------------------------------------------------------------- receipt journal */

/* One row per stored receipt line (sale rows 'F', rows of annulled receipts 'T') and one
   Z row per day-close report (PIEZIMES "Z=<report number>", CEKA_NR NULL, totals in
   FREEKOMENT). Sales sums read "CENA*DAUDZUMS*(1-ATLAIDE/100)" over rows with
   "ANULETS!='T' AND ANULETS IS NOT NULL": the Z report's insert names neither ANULETS nor
   ATLAIDE, so both need their defaults for the back office to find Z rows. */
CREATE GENERATOR REALIZGEN;

CREATE TABLE REALIZ (
  ISN           INTEGER NOT NULL,
  CEKA_NR       INTEGER,
  DATUMS        DATE,
  LAIKS         VARCHAR(8),
  KL_KODS       VARCHAR(30),
  KL_NOSAUKUMS  VARCHAR(60),
  KL_REG_NR     VARCHAR(20),
  ARTIKULS      VARCHAR(30),
  CENA          DOUBLE PRECISION,
  NODOKLIS      INTEGER,
  DAUDZUMS      DOUBLE PRECISION,
  ATLAIDE       DOUBLE PRECISION DEFAULT 0,
  SANEMTS       DOUBLE PRECISION,
  IZDOTS        DOUBLE PRECISION,
  BONUSS        DOUBLE PRECISION,
  APM_VEIDS     INTEGER,
  NODALA        INTEGER,
  KASIERIS      VARCHAR(20),
  PIEZIMES      VARCHAR(250),
  KARTES_NR     VARCHAR(40),
  KARTES_SUMMA  DOUBLE PRECISION DEFAULT 0,
  ANULETS       VARCHAR(1) DEFAULT 'F',
  /* The closing payment text: up to 20 rows of "/<kind>=<amount>". */
  APM_RINDA     VARCHAR(1000),
  CITASZINAS    VARCHAR(200),
  FREEKOMENT    BLOB SUB_TYPE TEXT,
  CONSTRAINT PK_REALIZ PRIMARY KEY (ISN)
);

CREATE INDEX REALIZ_CEKA_NR ON REALIZ (CEKA_NR);
CREATE INDEX REALIZ_DATUMS ON REALIZ (DATUMS);
CREATE INDEX REALIZ_KL_KODS ON REALIZ (KL_KODS);
CREATE INDEX REALIZ_ARTIKULS ON REALIZ (ARTIKULS);
/* Z rows are found with PIEZIMES STARTING WITH 'Z=' / LIKE 'Z=%'. */
CREATE INDEX REALIZ_PIEZIMES ON REALIZ (PIEZIMES);

/* ---------------------------------------------------------------- items */

/* Looked up by ARTIKULS or by one of the three pack codes. ARTIKULS is not unique: the back
   office updates every row of a code and may insert a second row for a code written with
   blanks around it. */
CREATE GENERATOR N_PRECEGEN;

CREATE TABLE N_PRECE (
  ISN             INTEGER NOT NULL,
  ARTIKULS        VARCHAR(30),
  GNOS            VARCHAR(60),
  MERVIENIBA      VARCHAR(13),
  NODALA          INTEGER,
  CENA            DOUBLE PRECISION,
  ATLAIDE         DOUBLE PRECISION DEFAULT 0,
  IZP_SAK_D       DATE,
  IZP_SAK_T       VARCHAR(10),
  IZP_BEIG_D      DATE,
  IZP_BEIG_T      VARCHAR(10),
  SHORTKEY        VARCHAR(10),
  CENA2           DOUBLE PRECISION DEFAULT 0,
  DAUDZUMS2       DOUBLE PRECISION DEFAULT 0,
  TARA            VARCHAR(1),
  NEDOT_ATL       VARCHAR(1),
  NEDOT_ATL2      VARCHAR(1),
  KEY_BUTTON      VARCHAR(3),
  KEY_RADITCENU   VARCHAR(1),
  WARNING         VARCHAR(250),
  SKKASTE         DOUBLE PRECISION DEFAULT 0,
  SKKASTELIELA    DOUBLE PRECISION DEFAULT 0,
  SKPALETE        DOUBLE PRECISION DEFAULT 0,
  EAN_KASTE       VARCHAR(50),
  EAN_KASTELIELA  VARCHAR(50),
  EAN_PALETE      VARCHAR(50),
  CONSTRAINT PK_N_PRECE PRIMARY KEY (ISN)
);

CREATE INDEX N_PRECE_ARTIKULS ON N_PRECE (ARTIKULS);
CREATE INDEX N_PRECE_EAN_KASTE ON N_PRECE (EAN_KASTE);
CREATE INDEX N_PRECE_EAN_KASTELIELA ON N_PRECE (EAN_KASTELIELA);
CREATE INDEX N_PRECE_EAN_PALETE ON N_PRECE (EAN_PALETE);
CREATE INDEX N_PRECE_GNOS ON N_PRECE (GNOS);

/* ---------------------------------------------------------------- customers */

CREATE GENERATOR N_KLIENTIGEN;

CREATE TABLE N_KLIENTI (
  ISN            INTEGER NOT NULL,
  KODS           VARCHAR(30),
  GNOS           VARCHAR(140),
  ADRESE         VARCHAR(100),
  PVN_KODS       VARCHAR(20),
  ATLAIDE        DOUBLE PRECISION DEFAULT 0,
  BEZATLAIDES    DOUBLE PRECISION DEFAULT 0,
  ATLSUMMAX      DOUBLE PRECISION DEFAULT 0,
  SLIMOKASE_ATL  DOUBLE PRECISION DEFAULT 0,
  /* Credit limit (0: none) and the day from which purchases count against it. */
  ATLIK_SUM      DOUBLE PRECISION DEFAULT 0,
  ATLIK_DAT      DATE,
  PINKODS        VARCHAR(30),
  CONSTRAINT PK_N_KLIENTI PRIMARY KEY (ISN)
);

CREATE INDEX N_KLIENTI_KODS ON N_KLIENTI (KODS);
CREATE INDEX N_KLIENTI_GNOS ON N_KLIENTI (GNOS);

/* ---------------------------------------------------------------- currencies */

CREATE GENERATOR N_VALUTASGEN;

CREATE TABLE N_VALUTAS (
  ISN       INTEGER NOT NULL,
  VAL_KODS  VARCHAR(3),
  GNOS      VARCHAR(60),
  KURSS     DOUBLE PRECISION,
  CONSTRAINT PK_N_VALUTAS PRIMARY KEY (ISN)
);

CREATE INDEX N_VALUTAS_VAL_KODS ON N_VALUTAS (VAL_KODS);

/* ---------------------------------------------------------------- cashiers */

/* The back office inserts cashiers with name and password only: the rights and MAXATLAIDE
   stay NULL (no right, no discount) until the editor sets them, so they have no defaults. */
CREATE GENERATOR O_USERSGEN;

CREATE TABLE O_USERS (
  ISN               INTEGER NOT NULL,
  GNOS              VARCHAR(20),
  PASWORD           VARCHAR(30),
  FULLNAME          VARCHAR(40),
  VARATGREIZT       VARCHAR(1),
  VAR_Z_ATSKAITI    VARCHAR(1),
  VARMAINITATLAIDI  VARCHAR(1),
  MAXATLAIDE        DOUBLE PRECISION,
  VARDZEST          VARCHAR(1),
  KL_ELEKTRON       VARCHAR(1),
  CONSTRAINT PK_O_USERS PRIMARY KEY (ISN)
);

CREATE INDEX O_USERS_GNOS ON O_USERS (GNOS);

/* ---------------------------------------------------------------- departments */

/* NODOKLIS is the tax rate in per cent; -1 marks an untaxed department. REALIZ.NODOKLIS and
   N_PRECE.NODALA hold NODALA_NR. */
CREATE GENERATOR N_NODALASGEN;

CREATE TABLE N_NODALAS (
  ISN        INTEGER NOT NULL,
  NODALA_NR  INTEGER,
  GNOS       VARCHAR(60),
  NODOKLIS   DOUBLE PRECISION,
  CONSTRAINT PK_N_NODALAS PRIMARY KEY (ISN)
);

CREATE INDEX N_NODALAS_NODALA_NR ON N_NODALAS (NODALA_NR);

/* ---------------------------------------------------------------- settings row */

/* Exactly one row (ISN 1), made below: the till also uses it as a one-row source
   ("SELECT GEN_ID(O_PASUTGEN,0) ISN FROM N_ISI"), and the back office's marker
   updates have no WHERE. */
CREATE GENERATOR N_ISIGEN;

CREATE TABLE N_ISI (
  ISN                 INTEGER NOT NULL,
  ISINAUDALADELIMITS  DOUBLE PRECISION DEFAULT 0,
  DEMORINDA_1         VARCHAR(40),
  DEMORINDA_2         VARCHAR(40),
  LOGO_EKRANS         BLOB SUB_TYPE BINARY,
  PILNUJA1DAUDZ       VARCHAR(1),
  PIEVARTIK1          VARCHAR(30),
  PIEVSUMMA1          DOUBLE PRECISION DEFAULT 0,
  PIEVARTIK2          VARCHAR(30),
  PIEVSUMMA2          DOUBLE PRECISION DEFAULT 0,
  PIEVARTIK3          VARCHAR(30),
  PIEVSUMMA3          DOUBLE PRECISION DEFAULT 0,
  PARVEURPARD_C       VARCHAR(1),
  CONSTRAINT PK_N_ISI PRIMARY KEY (ISN)
);

/* ---------------------------------------------------------------- restaurant orders */

/* One row per order line. ATLAIDE is a signed percentage applied as
   CENA*DAUDZUMS*(1+ATLAIDE/100) (a discount is negative). Right after an insert the till
   reads the new key with GEN_ID(O_PASUTGEN,0), so the trigger must draw exactly one value. */
CREATE GENERATOR O_PASUTGEN;

CREATE TABLE O_PASUT (
  ISN          INTEGER NOT NULL,
  DATUMS       DATE,
  PASUT_NR     INTEGER,
  GALDS        VARCHAR(20),
  VIETA        VARCHAR(20),
  CENA         DOUBLE PRECISION,
  ATLAIDE      DOUBLE PRECISION DEFAULT 0,
  DAUDZUMS     DOUBLE PRECISION,
  APMAKSATS    VARCHAR(1),
  BARMENIS     VARCHAR(20),
  DZESTS       VARCHAR(1),
  PRN_BARS     VARCHAR(1),
  PRN_VIRTUVE  VARCHAR(1),
  ARTIKULS     VARCHAR(30),
  PRN_REKINS   VARCHAR(1),
  KL_KODS      VARCHAR(30),
  CONSTRAINT PK_O_PASUT PRIMARY KEY (ISN)
);

CREATE INDEX O_PASUT_PASUT_NR ON O_PASUT (PASUT_NR);
CREATE INDEX O_PASUT_DATUMS ON O_PASUT (DATUMS);

/* ---------------------------------------------------------------- keys */

SET TERM ^ ;

CREATE TRIGGER REALIZ_BI FOR REALIZ ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
  NEW.ISN = GEN_ID(REALIZGEN, 1);
END^

CREATE TRIGGER N_PRECE_BI FOR N_PRECE ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
  NEW.ISN = GEN_ID(N_PRECEGEN, 1);
END^

CREATE TRIGGER N_KLIENTI_BI FOR N_KLIENTI ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
  NEW.ISN = GEN_ID(N_KLIENTIGEN, 1);
END^

CREATE TRIGGER N_VALUTAS_BI FOR N_VALUTAS ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
  NEW.ISN = GEN_ID(N_VALUTASGEN, 1);
END^

CREATE TRIGGER O_USERS_BI FOR O_USERS ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
  NEW.ISN = GEN_ID(O_USERSGEN, 1);
END^

CREATE TRIGGER N_NODALAS_BI FOR N_NODALAS ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
  NEW.ISN = GEN_ID(N_NODALASGEN, 1);
END^

CREATE TRIGGER N_ISI_BI FOR N_ISI ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
  NEW.ISN = GEN_ID(N_ISIGEN, 1);
END^

CREATE TRIGGER O_PASUT_BI FOR O_PASUT ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
  NEW.ISN = GEN_ID(O_PASUTGEN, 1);
END^

SET TERM ; ^

/* The settings row; the back office fills its texts and limit. */
INSERT INTO N_ISI (ISINAUDALADELIMITS) VALUES (0);
