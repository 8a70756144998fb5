#pragma once
// The library's one road to the host: one method per Client Access call,
// each giving 1 (or the value asked for) on success and 0 on failure, after
// showing the host's messages in a box (ShowHostError). A handle argument of
// 0 gives 0 at once, without a box. Nothing here throws.
//
// Our side holds text as UTF-16; names, commands and attribute texts go to
// Client Access as its 8-bit text.
//
// Host messages are taken off the error handle once they were read (shown,
// hidden or handed back as a warning), so a box never repeats the messages of
// an earlier call.

#include "platform/clientaccess/CodePages.h"
#include "platform/clientaccess/RemoteCommands.h"
#include "platform/clientaccess/Service.h"
#include "platform/clientaccess/SpooledFiles.h"
#include "platform/clientaccess/SystemCcsid.h"
#include "platform/clientaccess/Systems.h"
#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QString>

#include <cstdint>
#include <map>

class CrtWvdRequest;

class CAS400 : public CObject
{
public:
    // The code page of the text the library exchanges with the designer:
    // UTF-16, little-endian.
    static constexpr unsigned long kPcCodePage = 1202;

    // Attribute values are fetched into this many bytes.
    static constexpr unsigned long kAttributeBufferSize = 1024;

    // The host command buffer of a remote program call, its terminator
    // included; "CALL PGM() PARM()" leaves 338 characters for the rest.
    static constexpr int kCallCommandBufferSize = 356;

    CAS400();
    ~CAS400() override;

    CAS400(const CAS400&) = delete;
    CAS400& operator=(const CAS400&) = delete;

    // Created on first use; 0 when Client Access gives none.
    cwbSV_ErrHandle GetErrorHandle();

    // Shows the messages the error handle holds (nothing when it holds
    // none), or the label without an error handle; always 0.
    int ShowHostError(cwbSV_ErrHandle errorHandle, const QString& label);
    // The messages' text, one "ID: text" line each; empty when there are
    // none or the handle is invalid. The messages are taken off the handle.
    QString GetHostErrorText(cwbSV_ErrHandle errorHandle);

    // Systems and command connections. The creators show their label on
    // failure (there is no error handle for them).
    cwbCO_SysHandle CreateSystemHandle(const QString& system);
    void DeleteSystemHandle(cwbCO_SysHandle system);
    cwbRC_SysHandle CreateRCSystemHandle(cwbCO_SysHandle system);
    void DeleteRCSystemHandle(cwbRC_SysHandle connection);

    // 1 when the host logged no message for the command, whatever its own
    // completion code. With showMessages 0 the messages are dropped.
    int RunHostCommand(cwbRC_SysHandle connection, const QString& command, BOOL showMessages);

    // Lists of spooled files.
    cwbOBJ_ListHandle CreateListHandle(const QString& system);
    // Filters by output queue, library, user and user data ("*ALL" or empty
    // matches everything).
    int SetListFilter(cwbOBJ_ListHandle list, const QString& outputQueue, const QString& library, const QString& user,
                      const QString& userData);
    int OpenList(cwbOBJ_ListHandle list);
    // The number of entries; 0 on failure.
    unsigned long GetListSize(cwbOBJ_ListHandle list);
    // Entry index, from 0.
    cwbOBJ_ObjHandle GetObjectHandle(cwbOBJ_ListHandle list, unsigned long index);
    int CloseList(cwbOBJ_ListHandle list);
    int DeleteListHandle(cwbOBJ_ListHandle list);
    int DeleteObjectHandle(cwbOBJ_ObjHandle object);

    // One attribute as text: 16- and 32-bit numbers in decimal, text as it
    // is; a value of any other type is an empty text, and succeeds.
    int GetObjectAttribute(cwbOBJ_ObjHandle object, cwbOBJ_KeyID key, QString& value);

    // Reading a spooled file. *count goes in as the bytes wanted and comes
    // back as the bytes read; the end of the data is success with 0 read.
    int OpenSpooledFile(cwbOBJ_ObjHandle object);
    int ReadSpooledFile(cwbOBJ_ObjHandle object, void* buffer, unsigned long* count);
    int CloseSpooledFile(cwbOBJ_ObjHandle object);
    // The data type of a block (kCwbObjDataScs, ...); 0 on failure.
    unsigned AnalyseSplFData(const void* data, unsigned long length);

    // New spooled files from an attribute list.
    cwbOBJ_ParmHandle CreateParameterList();
    int SetParameter(cwbOBJ_ParmHandle parameters, cwbOBJ_KeyID key, const QString& text);
    int SetParameter(cwbOBJ_ParmHandle parameters, cwbOBJ_KeyID key, std::int32_t number);
    int SetParameter(cwbOBJ_ParmHandle parameters, cwbOBJ_KeyID key, float number);
    void DeleteParameterList(cwbOBJ_ParmHandle parameters);
    cwbOBJ_ObjHandle CreateNewSpooledFile(const QString& system, cwbOBJ_ParmHandle parameters);
    void CloseNewSpooledFile(cwbOBJ_ObjHandle newSpooledFile);
    // Bytes as they stand into the new spooled file; label on failure.
    int WriteNewSpooledFile(cwbOBJ_ObjHandle newSpooledFile, const void* data, unsigned long length,
                            const QString& label);
    // The form feed 0x0C.
    int WritePageBreak(cwbOBJ_ObjHandle newSpooledFile);

    // Code pages. GetPCCodePage gives kPcCodePage. GetHostCCSID takes two
    // steps: the system object (nothing shown when it fails), then the
    // system's CCSID ("CreateTranslationHandle"); a system without a CCSID
    // of its own succeeds with the one given for it.
    int GetPCCodePage(unsigned long& codePage);
    int GetHostCCSID(const QString& system, unsigned long& ccsid);
    // 0 without a box: the callers say what failed.
    cwbNL_Converter CreateConverter(unsigned long sourceCodePage, unsigned long targetCodePage,
                                    unsigned long options = kCwbNlPlain);
    int DeleteConverter(cwbNL_Converter converter);

    // Converts length bytes into at most targetLength bytes; *converted (may
    // be null) gets the bytes written. Substitutions succeed, their text in
    // *warning (may be null). A text that does not fit succeeds only when
    // cut is given: the target then holds what fits whole and *cut is TRUE.
    // With showMessages 0 a failure leaves its messages on the error handle
    // for the caller.
    int TranslateBuffer(cwbNL_Converter converter, const char* source, unsigned long length, char* target,
                        unsigned long targetLength, unsigned long* converted, QString* warning = nullptr,
                        BOOL* cut = nullptr, BOOL showMessages = TRUE);
    // The whole conversion as text, decoded by the converter's target code
    // page.
    int TranslateToString(cwbNL_Converter converter, const char* source, unsigned long length, QString& text,
                          QString* warning = nullptr, BOOL showMessages = TRUE);

    // The user signed on to the system (at most 10 characters); empty and 0
    // on failure, without a box.
    int GetUserId(const QString& system, QString& user);

    // "CALL PGM(program) PARM(parameters)" on the system with the host's
    // messages shown; 1 when the host logged none.
    int CallRemoteCommand(const QString& system, const QString& program, const QString& parameters);
    // ADDLIBLE of the request's library (messages hidden, result ignored),
    // then the CRTWVD submission; 1 when it logged no host message.
    int SubmitCrtWvd(const CrtWvdRequest& request);

    // What the translator keeps here.
    cwbNL_Converter GetConverter() const { return m_converter; }
    void SetConverter(cwbNL_Converter converter) { m_converter = converter; }
    const QString& GetSystemName() const { return m_systemName; }
    void SetSystemName(const QString& system) { m_systemName = system; }

private:
    // Runs a command text already checked, on its own connection.
    int RunOnSystem(const QString& system, const QString& command, const QString& hiddenFirst);
    void DropHostMessages();
    int SetParameterValue(cwbOBJ_ParmHandle parameters, cwbOBJ_KeyID key, const void* value);

    cwbSV_ErrHandle m_errorHandle = 0;
    cwbNL_Converter m_converter = 0;
    QString m_systemName;
    // The target code page of each converter made here, to read its output.
    std::map<cwbNL_Converter, unsigned long> m_converterTargets;
};
