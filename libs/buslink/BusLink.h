#ifndef CORVANE_BUSLINK_H
#define CORVANE_BUSLINK_H
/* BusLink: the C-function communication library (libBusLink.so), loaded at run time by name.
   One link state per process. Addresses passed to SetRemoteIPAddr / SetHostIPAddr / OpenSocket are
   IPv4 in network byte order; GetRemoteIPAddr answers with the first octet in the most significant
   byte. Failures are values <= 0. libs/README.md documents each argument. */

#ifdef __cplusplus
extern "C" {
#endif

#define BUSLINK_API __attribute__((visibility("default")))

BUSLINK_API int OpenModbusSerial(void);                          /* Modbus line from the settings set */
BUSLINK_API int OpenSerial(int port, int baud, int readTimeoutTenths); /* raw 8N1 line */
BUSLINK_API void CloseSerial(void);
BUSLINK_API void SetCOMPortNum(int port);
BUSLINK_API int GetCOMPortNum(void);
BUSLINK_API void SetStationAddr(int station);
BUSLINK_API int GetStationAddr(void);
BUSLINK_API void SetCOMPortParam(int dataLen, int parity, int stopBits);
BUSLINK_API void GetCOMPortParam(int* dataLen, int* parity, int* stopBits);
BUSLINK_API void SetCOMPortBaudrate(int baud);
BUSLINK_API int GetCOMPortBaudrate(void);
BUSLINK_API void SetCOMPortFormat(int format); /* decimal digits: data bits, parity code, stop bits (821 = 8E1) */
BUSLINK_API int GetCOMPortFormat(void);
BUSLINK_API void SetModbusMode(int mode); /* 1 ASCII, 2 RTU */
BUSLINK_API int GetModbusMode(void);
BUSLINK_API int GetLastSerialErr(void);
BUSLINK_API void ResetSerialErr(void);
BUSLINK_API int OpenModbusTCPSocket(void); /* TCP to the remote address, port 502 */
BUSLINK_API int OpenSocket(int protocol, int addressNet, int localPort, int remotePort, int timeoutSeconds);
BUSLINK_API void CloseSocket(void);
BUSLINK_API int ReadSelect(int timeoutMs);
BUSLINK_API void SetRemoteIPAddr(int addressNet);
BUSLINK_API int GetRemoteIPAddr(void);
BUSLINK_API void SetHostIPAddr(int addressNet);
BUSLINK_API int GetLastSocketErr(void);
BUSLINK_API void ResetSocketErr(void);
BUSLINK_API int RequestData(int function, const unsigned char* data, int length);
BUSLINK_API int ResponseData(unsigned char* buffer); /* buffer of 256 */
BUSLINK_API int SendData(const unsigned char* data, int length);
BUSLINK_API int RecvData(unsigned char* buffer, int size);
BUSLINK_API void SetCommType(int type);
BUSLINK_API int GetCommType(void);
BUSLINK_API int SetSerializeData(const unsigned char* data, int length);
BUSLINK_API int GetSerializeData(unsigned char* buffer); /* buffer of 10,240 */

/* The table the frame fills with dlsym, member i for name i of BusLinkNames. */
typedef struct BusLinkApi {
  int (*OpenModbusSerial)(void);
  int (*OpenSerial)(int, int, int);
  void (*CloseSerial)(void);
  void (*SetCOMPortNum)(int);
  int (*GetCOMPortNum)(void);
  void (*SetStationAddr)(int);
  int (*GetStationAddr)(void);
  void (*SetCOMPortParam)(int, int, int);
  void (*GetCOMPortParam)(int*, int*, int*);
  void (*SetCOMPortBaudrate)(int);
  int (*GetCOMPortBaudrate)(void);
  void (*SetCOMPortFormat)(int);
  int (*GetCOMPortFormat)(void);
  void (*SetModbusMode)(int);
  int (*GetModbusMode)(void);
  int (*GetLastSerialErr)(void);
  void (*ResetSerialErr)(void);
  int (*OpenModbusTCPSocket)(void);
  int (*OpenSocket)(int, int, int, int, int);
  void (*CloseSocket)(void);
  int (*ReadSelect)(int);
  void (*SetRemoteIPAddr)(int);
  int (*GetRemoteIPAddr)(void);
  void (*SetHostIPAddr)(int);
  int (*GetLastSocketErr)(void);
  void (*ResetSocketErr)(void);
  int (*RequestData)(int, const unsigned char*, int);
  int (*ResponseData)(unsigned char*);
  int (*SendData)(const unsigned char*, int);
  int (*RecvData)(unsigned char*, int);
  void (*SetCommType)(int);
  int (*GetCommType)(void);
  int (*SetSerializeData)(const unsigned char*, int);
  int (*GetSerializeData)(unsigned char*);
} BusLinkApi;

#define BUSLINK_NAME_COUNT 34
static const char* const BusLinkNames[BUSLINK_NAME_COUNT] = {
    "OpenModbusSerial", "OpenSerial", "CloseSerial", "SetCOMPortNum", "GetCOMPortNum", "SetStationAddr",
    "GetStationAddr", "SetCOMPortParam", "GetCOMPortParam", "SetCOMPortBaudrate", "GetCOMPortBaudrate",
    "SetCOMPortFormat", "GetCOMPortFormat", "SetModbusMode", "GetModbusMode", "GetLastSerialErr",
    "ResetSerialErr", "OpenModbusTCPSocket", "OpenSocket", "CloseSocket", "ReadSelect", "SetRemoteIPAddr",
    "GetRemoteIPAddr", "SetHostIPAddr", "GetLastSocketErr", "ResetSocketErr", "RequestData", "ResponseData",
    "SendData", "RecvData", "SetCommType", "GetCommType", "SetSerializeData", "GetSerializeData"};

#ifdef __cplusplus
}
#endif

#endif
