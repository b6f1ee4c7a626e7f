// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT
// Where prismark-lsp is and how it is started. Kept free of the editor's API so
// the tests run this very code against the real server under plain Node.js.
import * as fs from 'fs';
import * as os from 'os';
import * as path from 'path';

export const serverExecutable = 'prismark-lsp';
export const serverArguments = ['--stdio'];
export const languageId = 'qss';

// Saved files and unsaved buffers alike.
export const documentSelector = [
  { scheme: 'file', language: languageId },
  { scheme: 'untitled', language: languageId },
];

// Forms and sources, served by a second server that announces only the features it
// answers inside their style sheet literals, so nothing else (formatting, colours, the
// outline) is claimed for those languages. A Designer form goes by its suffix, whatever
// language the editor gives it; a header the editor takes for C is read as the C++ it
// almost always is in a Qt application, and C sources are left alone.
export const embeddedServerArguments = [...serverArguments, '--embedded-only'];
export const embeddedDocumentSelector = [
  { scheme: 'file', pattern: '**/*.ui' },
  { scheme: 'file', language: 'cpp' },
  { scheme: 'untitled', language: 'cpp' },
  { scheme: 'file', language: 'c', pattern: '**/*.h' },
  { scheme: 'file', language: 'python' },
  { scheme: 'untitled', language: 'python' },
];

export interface ServerLookup {
  // The executable found, or undefined.
  path?: string;
  // Every place looked at, in order, for the message when nothing was found.
  tried: string[];
  // Where the path came from.
  source: 'setting' | 'PATH';
}

function isExecutableFile(candidate: string): boolean {
  try {
    if (!fs.statSync(candidate).isFile()) {
      return false;
    }
    fs.accessSync(candidate, fs.constants.X_OK);
    return true;
  } catch {
    return false;
  }
}

function expandHome(setting: string): string {
  if (setting === '~' || setting.startsWith('~/')) {
    return path.join(os.homedir(), setting.slice(1));
  }
  return setting;
}

// The `prismark.serverPath` setting wins when it is set; otherwise PATH is searched
// as a shell would. A setting that names no executable is reported, never silently
// replaced by another server found on PATH.
export function findServer(setting: string | undefined,
                           environment: NodeJS.ProcessEnv = process.env): ServerLookup {
  const configured = (setting ?? '').trim();
  if (configured !== '') {
    const candidate = path.resolve(expandHome(configured));
    return {
      path: isExecutableFile(candidate) ? candidate : undefined,
      tried: [candidate],
      source: 'setting',
    };
  }
  const tried: string[] = [];
  for (const directory of (environment.PATH ?? '').split(path.delimiter)) {
    if (directory === '') {
      continue;
    }
    const candidate = path.join(directory, serverExecutable);
    tried.push(candidate);
    if (isExecutableFile(candidate)) {
      return { path: candidate, tried, source: 'PATH' };
    }
  }
  return { path: undefined, tried, source: 'PATH' };
}

export function notFoundMessage(lookup: ServerLookup): string {
  if (lookup.source === 'setting') {
    return `The Qt style sheet language server was not started: prismark.serverPath names ` +
           `"${lookup.tried[0]}", which is not an executable file.`;
  }
  return `The Qt style sheet language server was not started: ${serverExecutable} is not ` +
         `on PATH. Install Prismark Preview, or set prismark.serverPath to the program.`;
}
