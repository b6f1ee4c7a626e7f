// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT
// Starts prismark-lsp for Qt style sheets, and a second one for the style sheets in
// forms and sources, and offers to restart them.
import * as vscode from 'vscode';
import {
  LanguageClient,
  LanguageClientOptions,
  ServerOptions,
  TransportKind,
} from 'vscode-languageclient/node';
import {
  documentSelector,
  embeddedDocumentSelector,
  embeddedServerArguments,
  findServer,
  notFoundMessage,
  serverArguments,
} from './server';

let clients: LanguageClient[] = [];
let output: vscode.OutputChannel | undefined;

function configuration(): vscode.WorkspaceConfiguration {
  return vscode.workspace.getConfiguration('prismark');
}

async function startClient(id: string, name: string, command: string, args: string[],
                           selector: LanguageClientOptions['documentSelector']): Promise<void> {
  output?.appendLine(`Starting ${command} ${args.join(' ')} for ${name}`);
  const serverOptions: ServerOptions = { command, args, transport: TransportKind.stdio };
  const clientOptions: LanguageClientOptions = {
    documentSelector: selector,
    outputChannel: output,
    traceOutputChannel: output,
  };
  const client = new LanguageClient(id, name, serverOptions, clientOptions);
  clients.push(client);
  await client.start();
}

async function start(): Promise<void> {
  const setting = configuration().get<string>('serverPath');
  const lookup = findServer(setting);
  if (!lookup.path) {
    const message = notFoundMessage(lookup);
    output?.appendLine(message);
    output?.appendLine(`Looked at: ${lookup.tried.join(', ') || '(PATH is empty)'}`);
    const choice = await vscode.window.showErrorMessage(message, 'Open Settings', 'Show Output');
    if (choice === 'Open Settings') {
      await vscode.commands.executeCommand('workbench.action.openSettings', 'prismark.serverPath');
    } else if (choice === 'Show Output') {
      output?.show();
    }
    return;
  }
  output?.appendLine(`Found ${lookup.path} (from ${lookup.source})`);
  await startClient('prismark', 'Prismark (Qt style sheets)', lookup.path, serverArguments,
                    documentSelector);
  if (configuration().get<boolean>('embeddedSheets', true)) {
    await startClient('prismark.embedded', 'Prismark (style sheets in forms and sources)',
                      lookup.path, embeddedServerArguments, embeddedDocumentSelector);
  }
}

async function stop(): Promise<void> {
  const running = clients;
  clients = [];
  await Promise.all(running.map((client) => client.stop()));
}

export async function activate(context: vscode.ExtensionContext): Promise<void> {
  output = vscode.window.createOutputChannel('Prismark');
  context.subscriptions.push(output);
  context.subscriptions.push(
    vscode.commands.registerCommand('prismark.restartServer', async () => {
      await stop();
      await start();
    }),
    vscode.commands.registerCommand('prismark.showOutput', () => output?.show()),
    vscode.workspace.onDidChangeConfiguration(async (event) => {
      if (event.affectsConfiguration('prismark.serverPath') ||
          event.affectsConfiguration('prismark.embeddedSheets')) {
        await stop();
        await start();
      }
    }),
  );
  await start();
}

export function deactivate(): Promise<void> {
  return stop();
}
