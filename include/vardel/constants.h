// Property keys of browsing nodes and the internal names of the two synthetic
// root folders. A host names these constants in property requests; each is a
// GUID text that the library passes to the server, so its case does not
// matter there. The texts are fixed: stored files and server data use them.
// Folder and category keys of the same property share one text.
#pragma once

namespace Vardel::Constants {

// Folders of every browsing type.
inline constexpr wchar_t FLD_DISPLAYNAME[] = L"b47c9e56-1854-49b2-ba7d-aa397909d59c";
inline constexpr wchar_t FLD_ISVISIBLE[] = L"92da2cc7-bcb4-403c-90dd-514906a01c31";
inline constexpr wchar_t FLD_REFGUID[] = L"8f61ef02-55a4-47ec-a1a4-3b6942fd641c";
inline constexpr wchar_t FLD_LASTMODTIME[] = L"824460bd-a584-4750-a066-310e56b74cd6";
inline constexpr wchar_t FLD_ICON[] = L"0d8dc627-dcec-4780-9687-70c524a28856";
inline constexpr wchar_t FLD_HASANYCHILD[] = L"2a78cafd-4541-4ce8-b9fb-d61fce6c4c1e";

// Library categories.
inline constexpr wchar_t CAT_DISPLAYNAME[] = L"b47c9e56-1854-49b2-ba7d-aa397909d59c";
inline constexpr wchar_t CAT_ISVISIBLE[] = L"92da2cc7-bcb4-403c-90dd-514906a01c31";
inline constexpr wchar_t CAT_REFGUID[] = L"8f61ef02-55a4-47ec-a1a4-3b6942fd641c";
inline constexpr wchar_t CAT_LASTMODTIME[] = L"824460bd-a584-4750-a066-310e56b74cd6";
inline constexpr wchar_t CAT_ICON[] = L"0d8dc627-dcec-4780-9687-70c524a28856";
inline constexpr wchar_t CAT_HASANYCHILD[] = L"2a78cafd-4541-4ce8-b9fb-d61fce6c4c1e";
inline constexpr wchar_t CAT_MNEMONIC[] = L"62956711-3787-43d3-ade3-44b82dd9a3ce";
inline constexpr wchar_t CAT_SPECAUTH[] = L"d0ec658f-ac7a-4a51-912c-c308014e90f1";
inline constexpr wchar_t CAT_DOMAIN[] = L"a64afe72-710d-4c7d-80ab-46cddbe95087";

// Families and their members.
inline constexpr wchar_t FAM_DISPLAYNAME[] = L"05415f3d-3907-474b-a020-eb9d644f4cf3";
inline constexpr wchar_t FAM_DESCRIPTION[] = L"13903e3d-64b1-4950-80da-f627842ea37f";
inline constexpr wchar_t FAM_MANUFACTURER[] = L"cd6c7a72-a28a-4e50-99a9-2c7f4e13e5ad";
inline constexpr wchar_t FAM_STANDORG[] = L"8f5914e1-4693-403f-8ab5-d37768198c9d";
inline constexpr wchar_t FAM_STANDARD[] = L"0c0a119c-1e12-4c84-803f-101930972f5e";
inline constexpr wchar_t FAM_FOLDERNAME[] = L"3f06958e-8713-4116-9be7-ed6184ecc97b";
inline constexpr wchar_t FAM_LASTMODTIME[] = L"534414ee-6e58-4ccc-a278-b934579f8c28";
inline constexpr wchar_t FAM_HEALTHSTATUS[] = L"f4e2f004-f9f1-4153-b9cb-4e6c0b7afa2a";
inline constexpr wchar_t FAM_SRCACTIVEW[] = L"a4804ce2-9f31-453c-a7e3-a1b50f06234c";
inline constexpr wchar_t FAM_SRCLIBRARY[] = L"0f40af1f-449f-4e48-9310-49435b4a6af9";
inline constexpr wchar_t FAM_SRCFAMILY[] = L"127e4df5-06e5-4b1c-87f3-be2fce5e5e3e";
inline constexpr wchar_t FAM_SRCFAMREVGUID[] = L"1dfb84a5-45f5-4d39-be5e-97665d482ed3";
inline constexpr wchar_t FAM_REVGUID[] = L"52174e32-6ac8-4c33-864a-5f58ffaaf33f";
inline constexpr wchar_t FAM_ICON[] = L"70077057-807d-4af4-bc48-27854c178035";
inline constexpr wchar_t FAM_DATATYPE[] = L"5716D859-20CB-4103-A165-23B9892F8718";

// Category parameters.
inline constexpr wchar_t CP_DISPLAYNAME[] = L"cdc94ee2-0822-4a77-bfb3-4cc58ab269e1";
inline constexpr wchar_t CP_APPLIESTOMEMBER[] = L"e675e502-22cd-4e6c-9475-947e6323c120";
inline constexpr wchar_t CP_DEFINITIONONLY[] = L"edf2f5b9-4c4a-42a5-a3ff-3b113fa2e924";
inline constexpr wchar_t CP_NOINDEX[] = L"7353708e-1fcb-452a-85d0-e7e5c162b153";
inline constexpr wchar_t CP_REFNAME[] = L"cb77ea09-de13-4fd1-83c4-0776ccee61a4";
inline constexpr wchar_t CP_OPTIONAL[] = L"63d08e43-79db-4a63-a36d-85d3cb4f35a9";
inline constexpr wchar_t CP_REPEATABLE[] = L"d3a08bcd-f3ed-4fdd-b664-4cf0339c2766";
inline constexpr wchar_t CP_UNITTYPE[] = L"05d11635-7d6b-4bcd-a7d5-54255b60a72a";
inline constexpr wchar_t CP_USESDEFINITION[] = L"7e4cfe1e-3273-4ca7-88ed-ab44b9ffbb28";
inline constexpr wchar_t CP_VALUELOCALIZED[] = L"98481b79-d2e8-4e9b-8e59-2d3afdb54754";
inline constexpr wchar_t CP_VALUETYPE[] = L"f0b48cb5-d3c7-42e8-8598-c5346b155029";
inline constexpr wchar_t CP_PARENTCATEGORY[] = L"92855949-d48b-4462-b44e-501440cafc2b";

// Internal names of the search-results root and the history root; never sent
// to the server as node identifiers.
inline constexpr wchar_t SEARCH_ROOT_ID[] = L"C98BA434-22A4-4c67-AD3D-4C310744B05B";
inline constexpr wchar_t HISTORY_ROOT_ID[] = L"AF7B9D33-A8BC-4e12-84FA-392778F861CE";

}  // namespace Vardel::Constants
